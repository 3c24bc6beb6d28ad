// What each build of the launcher does with a JVM library, by the machine its headers name.
#include "runtime/RuntimeArchitecture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace {

constexpr std::optional<std::uint16_t> kNoPe = std::nullopt;
constexpr std::uint16_t kArm64 = kMachineArm64, kX64 = kMachineAmd64, kX86 = kMachineI386;

struct UseCase {
    LauncherBuild build;
    std::optional<std::uint16_t> machine;
    bool pairConfigured;
    LibraryUse expected;
};

TEST(RuntimeArchitecture, EachBuildLoadsHandsOverOrRefusesALibrary) {
    const UseCase cases[] = {
        // The x64 launcher: a 32-bit library goes to the paired launcher, or to the loader,
        // which refuses it with its own message; anything else is loaded.
        {LauncherBuild::x64, kX86, true, LibraryUse::handOver},
        {LauncherBuild::x64, kX86, false, LibraryUse::load},
        {LauncherBuild::x64, kX64, true, LibraryUse::load},
        {LauncherBuild::x64, kArm64, true, LibraryUse::load},
        // The 32-bit launcher never hands back.
        {LauncherBuild::x86, kX64, true, LibraryUse::load},
        // The ARM64 launcher: an x64 library goes to the paired x64 launcher, and without one it
        // is refused before it is loaded; so is a 32-bit one, which no pair of its runs.
        {LauncherBuild::arm64, kX64, true, LibraryUse::handOver},
        {LauncherBuild::arm64, kX64, false, LibraryUse::refuse},
        {LauncherBuild::arm64, kX86, true, LibraryUse::refuse},
        {LauncherBuild::arm64, kArm64, true, LibraryUse::load},
        // A file that is no PE image is left to the loader, whatever the build.
        {LauncherBuild::arm64, kNoPe, true, LibraryUse::load},
        {LauncherBuild::x64, kNoPe, true, LibraryUse::load},
    };
    for (const UseCase& c : cases) {
        SCOPED_TRACE(std::string(rulesOf(c.build).name) + " with " + machineName(c.machine) +
                     (c.pairConfigured ? ", paired" : ", alone"));
        EXPECT_EQ(libraryUse(c.machine, c.pairConfigured, rulesOf(c.build)), c.expected);
    }
}

TEST(RuntimeArchitecture, OnlyArm64SharesItsRegistryViewAndSortsItsRegistrations) {
    EXPECT_FALSE(rulesOf(LauncherBuild::x64).sharesRegistryView());
    EXPECT_FALSE(rulesOf(LauncherBuild::x86).sharesRegistryView());
    const ArchitectureRules arm64 = rulesOf(LauncherBuild::arm64);
    ASSERT_TRUE(arm64.sharesRegistryView());
    // Its own search keeps what it may load and leaves the x64 runtimes to its pair's search.
    EXPECT_TRUE(belongsToSearch(kArm64, false, arm64));
    EXPECT_TRUE(belongsToSearch(kNoPe, false, arm64));
    EXPECT_FALSE(belongsToSearch(kX64, false, arm64));
    EXPECT_TRUE(belongsToSearch(kX64, true, arm64));
    EXPECT_FALSE(belongsToSearch(kArm64, true, arm64));
    EXPECT_FALSE(belongsToSearch(kNoPe, true, arm64));
}

TEST(RuntimeArchitecture, EachBuildHasAPrivateRuntimeFolderOfItsOwn) {
    EXPECT_STREQ(rulesOf(LauncherBuild::x64).privateRuntimeFolder, L"jre64\\");
    EXPECT_STREQ(rulesOf(LauncherBuild::x86).privateRuntimeFolder, L"jre32\\");
    EXPECT_STREQ(rulesOf(LauncherBuild::arm64).privateRuntimeFolder, L"jrearm64\\");
    EXPECT_STREQ(machineName(std::uint16_t{0x01C4}), "other");
}

} // namespace
