// Which launcher these tests drive. The end-to-end tests are built once for each launcher,
// beside the launcher of the same build: the x64 launcher, the paired 32-bit launcher an
// installation ships for machines whose only Java runtime is a 32-bit one, and the ARM64
// launcher. The expectations that differ between them are stated here, and nowhere else.
#pragma once

#include "runtime/RuntimeArchitecture.h"

namespace tested {

// The test program has the architecture of the launcher beside it.
#if defined(__aarch64__) || defined(_M_ARM64)
inline constexpr LauncherBuild kBuild = LauncherBuild::arm64;
#else
inline constexpr LauncherBuild kBuild = sizeof(void*) == 4 ? LauncherBuild::x86 : LauncherBuild::x64;
#endif
inline constexpr bool kIsPairedBuild = kBuild == LauncherBuild::x86;
inline constexpr bool kIsArm64Build = kBuild == LauncherBuild::arm64;

// The folder beside the exe where an installer puts the runtime shipped with the application.
inline constexpr const wchar_t* kPrivateRuntimeFolder =
    kIsArm64Build ? L"jrearm64" : kIsPairedBuild ? L"jre32" : L"jre64";

// The registry view the launcher searches for runtimes it loads itself: the view its own
// process sees (the use32BitView of ScopedRegistryKey).
inline constexpr bool kOwnRegistryViewIs32Bit = kIsPairedBuild;

// The 64-bit launchers hand a launch over to a paired launcher, when the only runtime that
// qualifies is one of the paired launcher's architecture. The 32-bit launcher loads what it
// finds itself, whatever "Pair Product" says, so that two launchers never start each other in
// turn.
inline constexpr bool kHandsOverToPairedProduct = !kIsPairedBuild;

} // namespace tested
