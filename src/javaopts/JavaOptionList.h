// The options that the class path, the module settings and "Virtual Machine Parameters" add, in
// the order the VM receives them, ready for conversion to narrow text.
#pragma once

#include "javaopts/EnvironmentReferences.h"
#include "javaopts/JavaCommandSyntax.h"
#include "javaopts/MemoryStatus.h"

#include <cstdint>
#include <string>
#include <vector>

struct JavaOptionSources {
    std::wstring classPath{};        // as assembled; empty leaves the class path option out
    std::wstring modulePath{};       // "Module Path" as written
    std::wstring mainModule{};       // the module name of "Main Module"
    std::wstring vmParameters{};     // the line as written
    std::wstring executableFolder{}; // relative module paths are glued behind it
};

// The class path option first, then what "java -p PATH -m MODULE" hands the VM, then each VM
// parameter option as processed and in the java command's syntax; every option is then
// expanded. The percentage rewrite happens before expansion, so -Xmx%HEAP% reaches the VM as
// the expanded text, never rewritten. mainThreadStackSize is updated by "-Xss" options.
[[nodiscard]] JavaCommandOptions composeJavaOptions(const JavaOptionSources& sources,
                                                    const MemoryStatus& memory,
                                                    const EnvironmentLookup& lookup,
                                                    std::uint64_t& mainThreadStackSize);
