// The options that the class path and "Virtual Machine Parameters" add, in the order the VM
// receives them, ready for conversion to narrow text.
#pragma once

#include "javaopts/EnvironmentReferences.h"
#include "javaopts/MemoryStatus.h"

#include <cstdint>
#include <string>
#include <vector>

// The class path option first, then each VM parameter option as processed; every option is
// then expanded. The percentage rewrite happens before expansion, so -Xmx%HEAP% reaches the
// VM as the expanded text, never rewritten. mainThreadStackSize is updated by "-Xss" options.
[[nodiscard]] std::vector<std::wstring> composeJavaOptions(const std::wstring& classPath,
                                                           const std::wstring& vmParameters,
                                                           const MemoryStatus& memory,
                                                           const EnvironmentLookup& lookup,
                                                           std::uint64_t& mainThreadStackSize);
