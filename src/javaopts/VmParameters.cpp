#include "javaopts/VmParameters.h"

#include "javaopts/MemorySizes.h"
#include "javaopts/VmParameterText.h"

#include <utility>

void processVmOption(std::wstring option, const MemoryStatus& memory,
                     std::vector<std::wstring>& options, std::uint64_t& mainThreadStackSize) {
    removeQuotes(option);
    rewritePercentageSize(option, memory);
    // The VM sizes its own threads from "-Xss", but the main Java thread is created by us, so
    // we take the size too; the option still goes to the VM for the threads it creates.
    if (option.compare(0, 4, L"-Xss") == 0)
        mainThreadStackSize = parseStackSize(option.substr(4));
    options.push_back(std::move(option));
}

void splitVmParameters(const std::wstring& text, const MemoryStatus& memory,
                       std::vector<std::wstring>& options, std::uint64_t& mainThreadStackSize) {
    for (std::wstring& option : splitVmParameterText(text))
        processVmOption(std::move(option), memory, options, mainThreadStackSize);
}
