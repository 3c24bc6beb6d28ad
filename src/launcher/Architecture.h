// What sets the two builds of the launcher apart. The same sources are built for 64-bit Windows
// and, as the paired launcher an installation may ship beside it, for 32-bit Windows; a process
// can only load a Java runtime built for its own architecture. Everything that differs between
// the two builds is decided here.
#pragma once

#include "jvm/PeHeaders.h"

#include <cstdint>

namespace architecture {

inline constexpr bool kIs64Bit = sizeof(void*) == 8;

// The machine field of the images this process can load, and of those only the other build can.
inline constexpr std::uint16_t kOwnMachine = kIs64Bit ? kMachineAmd64 : kMachineI386;
inline constexpr std::uint16_t kOtherMachine = kIs64Bit ? kMachineI386 : kMachineAmd64;

// The registry view of the runtimes this launcher can load itself: the one its own process
// sees. The 32-bit view is named explicitly in the 32-bit build, which makes no difference to
// a 32-bit process and is ignored on 32-bit Windows.
inline constexpr bool kOwnRegistryViewIs32Bit = !kIs64Bit;

// The folder beside the executable that holds the runtime shipped with the application, when
// the executable's own folder is not a runtime home.
inline constexpr const wchar_t* kPrivateRuntimeFolder = kIs64Bit ? L"jre64\\" : L"jre32\\";

// Only the 64-bit launcher hands a launch over to the paired launcher: it searches the 32-bit
// registry view and tells a 32-bit JVM library apart. The 32-bit launcher loads whatever it
// found itself, so that the two launchers can never start each other in turn.
inline constexpr bool kHandsOverToPairedProduct = kIs64Bit;

} // namespace architecture
