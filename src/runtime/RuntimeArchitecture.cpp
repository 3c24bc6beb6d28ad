#include "runtime/RuntimeArchitecture.h"

#include "jvm/PeHeaders.h"

std::optional<LauncherBuild> launcherBuildOf(std::uint16_t machine, bool is64Bit) {
    for (const LauncherBuild build : kLauncherBuilds)
        if (rulesOf(build).ownMachine == machine && rulesOf(build).ownImageIs64Bit == is64Bit)
            return build;
    return std::nullopt;
}

LibraryUse libraryUse(std::optional<std::uint16_t> machine, bool pairConfigured,
                      const ArchitectureRules& rules) {
    if (!machine || *machine == rules.ownMachine)
        return LibraryUse::load;
    if (rules.handsOver && pairConfigured && *machine == rules.pairedMachine)
        return LibraryUse::handOver;
    return rules.refusesOtherMachines ? LibraryUse::refuse : LibraryUse::load;
}

bool belongsToSearch(std::optional<std::uint16_t> machine, bool forPairedLauncher,
                     const ArchitectureRules& rules) {
    return (machine == rules.pairedMachine) == forPairedLauncher;
}

const char* machineName(std::optional<std::uint16_t> machine) {
    if (!machine)
        return "none";
    switch (*machine) {
    case kMachineI386:
        return "x86";
    case kMachineAmd64:
        return "x64";
    case kMachineArm64:
        return "arm64";
    default:
        return "other";
    }
}
