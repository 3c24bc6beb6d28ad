// Which launcher these tests drive. The end-to-end tests are built twice, each time beside the
// launcher of the same build: the 64-bit launcher, and the paired 32-bit launcher an
// installation ships for machines whose only Java runtime is a 32-bit one. The expectations
// that differ between the two are stated here, and nowhere else.
#pragma once

namespace tested {

// The test program has the architecture of the launcher beside it.
inline constexpr bool kIsPairedBuild = sizeof(void*) == 4;

// The folder beside the exe where an installer puts the runtime shipped with the application.
inline constexpr const wchar_t* kPrivateRuntimeFolder = kIsPairedBuild ? L"jre32" : L"jre64";

// The registry view the launcher searches for runtimes it loads itself: the view its own
// process sees (the use32BitView of ScopedRegistryKey).
inline constexpr bool kOwnRegistryViewIs32Bit = kIsPairedBuild;

// Only the 64-bit launcher hands a launch over to a paired launcher, when the only runtime
// that qualifies is a 32-bit one. The 32-bit launcher loads what it finds itself, whatever
// "Pair Product" says, so that two launchers never start each other in turn.
inline constexpr bool kHandsOverToPairedProduct = !kIsPairedBuild;

} // namespace tested
