// What sets the builds of the launcher apart: the rules of the architecture this one is built
// for (runtime/RuntimeArchitecture.h), under the names the rest of the code uses.
#pragma once

#include "jvm/PeHeaders.h"
#include "runtime/RuntimeArchitecture.h"

#include <cstdint>

namespace architecture {

inline constexpr bool kIs64Bit = sizeof(void*) == 8;
#if defined(__aarch64__) || defined(_M_ARM64)
inline constexpr LauncherBuild kBuild = LauncherBuild::arm64;
#else
inline constexpr LauncherBuild kBuild = kIs64Bit ? LauncherBuild::x64 : LauncherBuild::x86;
#endif
inline constexpr ArchitectureRules kRules = rulesOf(kBuild);

inline constexpr const char* kName = kRules.name;
// The machine field of the images this process can load, and of those only its paired
// launcher can.
inline constexpr std::uint16_t kOwnMachine = kRules.ownMachine;
inline constexpr std::uint16_t kPairedMachine = kRules.pairedMachine;
// The registry view of the runtimes this launcher can load itself, and of its paired
// launcher's.
inline constexpr bool kOwnRegistryViewIs32Bit = kRules.ownViewIs32Bit;
inline constexpr bool kPairedRegistryViewIs32Bit = kRules.pairedViewIs32Bit;
inline constexpr const wchar_t* kPrivateRuntimeFolder = kRules.privateRuntimeFolder;
inline constexpr bool kHandsOverToPairedProduct = kRules.handsOver;

} // namespace architecture
