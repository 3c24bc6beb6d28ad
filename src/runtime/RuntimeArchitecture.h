// Which runtimes a launcher of one architecture loads itself, which it leaves to its paired
// launcher and which it refuses: decided from the machine field of the JVM library's headers,
// read before anything is loaded. The same sources are built for x64 Windows, for ARM64 Windows
// and, as the paired launcher an installation may ship beside the x64 one, for 32-bit Windows.
#pragma once

#include "jvm/PeHeaders.h"

#include <cstdint>
#include <optional>

enum class LauncherBuild { x86, x64, arm64 };

// Every build of the launcher that is shipped, in the order their names are listed.
inline constexpr LauncherBuild kLauncherBuilds[] = {LauncherBuild::x86, LauncherBuild::x64,
                                                    LauncherBuild::arm64};

// What sets one build of the launcher apart from the others, as far as runtimes go.
struct ArchitectureRules {
    // The launcher's architecture, as the launch trace names it.
    const char* name;
    // The machine of the images this process can load, and so of the launcher's own image.
    std::uint16_t ownMachine;
    // Whether those images have the 64-bit optional header (PE32+).
    bool ownImageIs64Bit;
    // The machine of the runtimes only the paired launcher can load: the x64 launcher's pair is
    // a 32-bit one, the ARM64 launcher's an x64 one, which Windows on ARM64 runs under emulation.
    std::uint16_t pairedMachine;
    // Whether this build hands a launch over to the paired launcher at all. The 32-bit launcher
    // loads whatever it found itself, so that two launchers never start each other in turn.
    bool handsOver;
    // Whether a library of another machine is refused before the loader sees it. A 32-bit
    // image in a 64-bit process fails to load by its format alone; an x64 image has the same
    // format as an ARM64 one, and what the loader of an ARM64 Windows does with it depends on
    // the emulation that Windows offers.
    bool refusesOtherMachines;
    // The registry views of this launcher's runtimes and of its paired launcher's. The 32-bit
    // view is named explicitly in the 32-bit build, which makes no difference to a 32-bit
    // process; on ARM64 Windows, x64 and ARM64 programs share the 64-bit view.
    bool ownViewIs32Bit;
    bool pairedViewIs32Bit;
    // The folder beside the executable that holds the runtime shipped with the application, when
    // the executable's own folder is not a runtime home: one for each architecture, so that one
    // installation can carry a runtime for each of its launchers.
    const wchar_t* privateRuntimeFolder;

    // Where both launchers' runtimes are registered in one view, each registration is told
    // apart by its library's machine.
    [[nodiscard]] constexpr bool sharesRegistryView() const {
        return ownViewIs32Bit == pairedViewIs32Bit;
    }
};

[[nodiscard]] constexpr ArchitectureRules rulesOf(LauncherBuild build) {
    switch (build) {
    case LauncherBuild::x86:
        return {"x86", kMachineI386, false, kMachineAmd64, false, false, true, false, L"jre32\\"};
    case LauncherBuild::arm64:
        return {"arm64", kMachineArm64, true, kMachineAmd64, true, true, false, false, L"jrearm64\\"};
    case LauncherBuild::x64:
    default:
        return {"x64", kMachineAmd64, true, kMachineI386, true, false, false, true, L"jre64\\"};
    }
}

// The build of the launcher whose image has the machine field `machine` and the optional header
// of that width; none for an image no launcher is built as.
[[nodiscard]] std::optional<LauncherBuild> launcherBuildOf(std::uint16_t machine, bool is64Bit);

enum class LibraryUse { load, handOver, refuse };

// What the launcher does with a chosen JVM library whose headers name `machine` (none when the
// file is no PE image: the load then reports what is wrong with it).
[[nodiscard]] LibraryUse libraryUse(std::optional<std::uint16_t> machine, bool pairConfigured,
                                    const ArchitectureRules& rules);

// Whether a registered runtime whose library names `machine` belongs to a search for this
// launcher's runtimes or, with `forPairedLauncher`, for the paired launcher's. Only an image that
// says it is of the paired machine counts as one: anything else is this launcher's to try.
[[nodiscard]] bool belongsToSearch(std::optional<std::uint16_t> machine, bool forPairedLauncher,
                                   const ArchitectureRules& rules);

// The name the launch trace gives a machine ("x86", "x64", "arm64"), "other" for any other
// machine and "none" for a file that is no PE image.
[[nodiscard]] const char* machineName(std::optional<std::uint16_t> machine);
