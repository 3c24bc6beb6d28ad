// The "Virtual Machine Parameters" line turned into the options the VM receives.
#pragma once

#include "javaopts/MemoryStatus.h"

#include <cstdint>
#include <string>
#include <vector>

// Unquotes one option, rewrites a percentage heap or stack size, records an "-Xss" size in
// mainThreadStackSize (the last one wins) and appends the option to `options`.
void processVmOption(std::wstring option, const MemoryStatus& memory,
                     std::vector<std::wstring>& options, std::uint64_t& mainThreadStackSize);

// Splits the line and processes every option in the order written. mainThreadStackSize is
// left as it was when the line has no "-Xss" option.
void splitVmParameters(const std::wstring& text, const MemoryStatus& memory,
                       std::vector<std::wstring>& options, std::uint64_t& mainThreadStackSize);
