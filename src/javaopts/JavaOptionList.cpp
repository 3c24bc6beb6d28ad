#include "javaopts/JavaOptionList.h"

#include "javaopts/ClassPathText.h"
#include "javaopts/VmParameters.h"

std::vector<std::wstring> composeJavaOptions(const std::wstring& classPath,
                                             const std::wstring& vmParameters,
                                             const MemoryStatus& memory,
                                             const EnvironmentLookup& lookup,
                                             std::uint64_t& mainThreadStackSize) {
    std::vector<std::wstring> options{classPathOption(classPath)};
    splitVmParameters(vmParameters, memory, options, mainThreadStackSize);
    // Every option is expanded alike. For the class path option it is the second expansion
    // (its entries were expanded one by one); it only changes a found name or an expanded
    // value that itself holds a %NAME% reference.
    for (std::wstring& option : options)
        expandEnvironmentReferences(option, lookup);
    return options;
}
