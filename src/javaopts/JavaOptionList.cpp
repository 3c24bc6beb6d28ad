#include "javaopts/JavaOptionList.h"

#include "javaopts/ClassPathText.h"
#include "javaopts/VmParameters.h"

JavaCommandOptions composeJavaOptions(const JavaOptionSources& sources, const MemoryStatus& memory,
                                      const EnvironmentLookup& lookup,
                                      std::uint64_t& mainThreadStackSize) {
    std::vector<std::wstring> parameters;
    splitVmParameters(sources.vmParameters, memory, parameters, mainThreadStackSize);
    JavaCommandOptions composed =
        applyJavaCommandSyntax(parameters, sources.executableFolder, lookup);
    if (composed.fault != OptionFault::None)
        return composed;

    std::vector<std::wstring> leading;
    if (!sources.classPath.empty())
        leading.push_back(classPathOption(sources.classPath));
    if (!sources.modulePath.empty())
        leading.push_back(L"--module-path=" +
                          resolveModulePath(sources.modulePath, sources.executableFolder, lookup));
    // The VM's own boot code resolves the module named here as the root of the application, as
    // it does for "java -m"; a module it cannot find fails VM creation.
    if (!sources.mainModule.empty())
        leading.push_back(L"-Djdk.module.main=" + sources.mainModule);
    composed.options.insert(composed.options.begin(), leading.begin(), leading.end());

    // Every option is expanded alike. For the class path option it is the second expansion
    // (its entries were expanded one by one); it only changes a found name or an expanded
    // value that itself holds a %NAME% reference.
    for (std::wstring& option : composed.options)
        expandEnvironmentReferences(option, lookup);
    return composed;
}
