// Today's distributions registered as their installers do, under HKEY_LOCAL_MACHINE in both
// views and under HKEY_CURRENT_USER, with runtime folders of the current shape (no "jre\"):
// found only where the classic families offer nothing, and chosen by the usual rules. Each test
// owns its major versions (814x to 816x), so bounds around them keep out everything else.
#include "MessageBoxes.h"
#include "RegisteredRuntime.h"
#include "TestFiles.h"
#include "launcher/Architecture.h"
#include "launcher/Launcher.h"
#include "runtime/CurrentDistributions.h"
#include "settings/LaunchSettingsRules.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr bool nativeView = false;
constexpr bool view32 = true;

// A Launcher as the settings leave it by default (both kinds wanted), within one major version.
std::unique_ptr<Launcher> launcherFor(int major, const std::wstring& vmProvider = L"") {
    auto launcher = std::make_unique<Launcher>();
    launcher->jdkWanted = true;
    launcher->jreWanted = true;
    launcher->minVersion = JavaVersion{major, 0, 0, 0};
    launcher->maxVersion = JavaVersion{major, 0xFFFF, 0xFFFF, 0xFFFF};
    const VmProviderChoice provider = vmProviderFromText(vmProvider);
    launcher->jrockitAccepted = provider.jrockitAccepted;
    launcher->jrockitFavored = provider.jrockitFavored;
    launcher->sunAccepted = provider.sunAccepted;
    launcher->sunFavored = provider.sunFavored;
    launcher->ibmAccepted = provider.ibmAccepted;
    launcher->ibmFavored = provider.ibmFavored;
    return launcher;
}

RuntimeSearchSettings searchFor(int major) {
    RuntimeSearchSettings settings;
    settings.minVersion = JavaVersion{major, 0, 0, 0};
    settings.maxVersion = JavaVersion{major, 0xFFFF, 0xFFFF, 0xFFFF};
    return settings;
}

std::wstring serverLibraryOf(const std::wstring& home) {
    return home + L"bin\\server\\jvm.dll";
}

// One distribution as its installer registers it.
struct Layout {
    const wchar_t* familyKey;
    const wchar_t* name; // the version's sub-key; its major number is the row's own
    int major;
    const wchar_t* below;
    const wchar_t* value;
    const wchar_t* vmProvider; // the setting under which it may be used
};

const std::vector<Layout> layouts{
    {L"Software\\JavaSoft\\JDK", L"8141.0.2", 8141, L"", L"JavaHome", L""},
    {L"Software\\JavaSoft\\JRE", L"8142", 8142, L"", L"JavaHome", L""},
    {L"Software\\Eclipse Adoptium\\JDK", L"8143.0.8.101", 8143, L"\\hotspot\\MSI", L"Path", L""},
    {L"Software\\Eclipse Adoptium\\JRE", L"8144.0.8.101", 8144, L"\\hotspot\\MSI", L"Path", L""},
    {L"Software\\AdoptOpenJDK\\JDK", L"8145.0.11.9", 8145, L"\\hotspot\\MSI", L"Path", L""},
    {L"Software\\AdoptOpenJDK\\JRE", L"8146.0.11.9", 8146, L"\\hotspot\\MSI", L"Path", L""},
    {L"Software\\Eclipse Foundation\\JDK", L"8147.0.2.7", 8147, L"\\hotspot\\MSI", L"Path", L""},
    {L"Software\\Eclipse Foundation\\JRE", L"8148.0.2.7", 8148, L"\\hotspot\\MSI", L"Path", L""},
    {L"Software\\Microsoft\\JDK", L"8149.0.1.12", 8149, L"\\hotspot\\MSI", L"Path", L""},
    {L"Software\\Semeru\\JDK", L"8150.0.7.7", 8150, L"\\openj9\\MSI", L"Path", L"ibm"},
    {L"Software\\Semeru\\JRE", L"8151.0.7.7", 8151, L"\\openj9\\MSI", L"Path", L"favor_ibm"},
    {L"Software\\Azul Systems\\Zulu", L"zulu-8152", 8152, L"", L"InstallationPath", L""},
    {L"Software\\Azul Systems\\Zulu", L"zulu-8153-jre", 8153, L"", L"InstallationPath", L""},
    {L"Software\\BellSoft\\Liberica", L"8154.0.2+9", 8154, L"", L"InstallationPath", L""},
};

TEST(CurrentDistributionRegistry, EveryLayoutIsFoundInBothViewsAndBothHives) {
    struct Placement {
        const char* what;
        HKEY hive;
        bool view;
    };
    std::vector<Placement> placements{{"machine", HKEY_LOCAL_MACHINE, nativeView},
                                      {"user", HKEY_CURRENT_USER, nativeView}};
    // Only the x64 launcher's pair has its runtimes in the 32-bit view.
    if (architecture::kPairedRegistryViewIs32Bit)
        placements.push_back({"machine 32-bit", HKEY_LOCAL_MACHINE, view32});
    for (const Layout& layout : layouts) {
        for (const Placement& placement : placements) {
            SCOPED_TRACE(narrow(std::wstring(layout.familyKey) + L"\\" + layout.name) + " " +
                         placement.what);
            TempFolder folder;
            const std::wstring home = makeRuntimeHome(folder.file(L"jdk"), {L"server"});
            const RegisteredDistribution registered(
                placement.hive, placement.view, layout.familyKey, layout.name, layout.below,
                layout.value, JavaHomeValue{folder.file(L"jdk")});
            ASSERT_TRUE(registered.created());

            const auto launcher = launcherFor(layout.major, layout.vmProvider);
            if (placement.view == view32) {
                // Not visible to this process's own view; only the paired launcher runs it.
                RuntimeSearchSettings settings = searchFor(layout.major);
                settings.sources.ibmAccepted = settings.sources.ibmFavored = true;
                EXPECT_FALSE(searchCurrentDistributions(nativeView, settings).has_value());
                launcher->pairProduct = folder.file(L"app32.exe");
            }
            ASSERT_TRUE(launcher->selectRuntime());
            EXPECT_EQ(narrow(launcher->jvmLibraryPath), narrow(serverLibraryOf(home)));
            EXPECT_EQ(launcher->runPairedProduct, placement.view == view32);
        }
    }
}

TEST(CurrentDistributionRegistry, OpenJ9BuildsNeedTheIbmProvider) {
    TempFolder folder;
    makeRuntimeHome(folder.file(L"semeru"), {L"server"});
    const RegisteredDistribution semeru(HKEY_LOCAL_MACHINE, nativeView, L"Software\\Semeru\\JDK",
                                        L"8155.0.7.7", L"\\openj9\\MSI", L"Path",
                                        JavaHomeValue{folder.file(L"semeru")});
    ASSERT_TRUE(semeru.created());
    RuntimeSearchSettings settings = searchFor(8155);
    EXPECT_FALSE(searchCurrentDistributions(nativeView, settings).has_value());
    settings.sources.ibmAccepted = true;
    EXPECT_EQ(narrow(searchCurrentDistributions(nativeView, settings).value_or(L"-")),
              narrow(folder.file(L"semeru\\")));
}

TEST(CurrentDistributionRegistry, ClassicRegistrationsKeepBeingChosen) {
    TempFolder folder;
    const std::wstring classic = makeRuntimeHome(folder.file(L"jre6"), {L"client"});
    const std::wstring classic32 = makeRuntimeHome(folder.file(L"jre6-32"), {L"client"});
    const std::wstring current = makeRuntimeHome(folder.file(L"jdk21"), {L"server"});
    // Older classic runtimes beside a newer current one, which the classic search never sees.
    const RegisteredRuntime classicJre(Family::SunJre, nativeView, L"8160.1", classic);
    const RegisteredRuntime classicJre32(Family::SunJre, view32, L"8161.1", classic32);
    const RegisteredDistribution temurin(HKEY_LOCAL_MACHINE, nativeView,
                                         L"Software\\Eclipse Adoptium\\JDK", L"8160.9",
                                         L"\\hotspot\\MSI", L"Path", JavaHomeValue{current});
    const RegisteredDistribution temurinToo(HKEY_LOCAL_MACHINE, nativeView,
                                            L"Software\\Eclipse Adoptium\\JDK", L"8161.9",
                                            L"\\hotspot\\MSI", L"Path", JavaHomeValue{current});
    ASSERT_TRUE(classicJre.created() && classicJre32.created() && temurin.created() &&
                temurinToo.created());

    const auto launcher = launcherFor(8160);
    ASSERT_TRUE(launcher->selectRuntime());
    EXPECT_EQ(narrow(launcher->jvmLibraryPath), narrow(classic + L"bin\\client\\jvm.dll"));

    // A classic 32-bit runtime hands over to the paired launcher as it always did.
    if (!architecture::kPairedRegistryViewIs32Bit)
        return;
    const auto paired = launcherFor(8161);
    paired->pairProduct = folder.file(L"app32.exe");
    ASSERT_TRUE(paired->selectRuntime());
    EXPECT_TRUE(paired->runPairedProduct);
    EXPECT_EQ(narrow(paired->jvmLibraryPath), narrow(classic32 + L"bin\\client\\jvm.dll"));
}

TEST(CurrentDistributionRegistry, StaleAndIncompleteRegistrationsAreSkipped) {
    TempFolder folder;
    const std::wstring usable = makeRuntimeHome(folder.file(L"usable"), {L"server"});
    const std::wstring family = L"Software\\Eclipse Adoptium\\JDK";
    const std::wstring msi = L"\\hotspot\\MSI";
    // Newer than the usable one, so each would win if it were taken.
    const RegisteredDistribution uninstalled(HKEY_LOCAL_MACHINE, nativeView, family, L"8162.9", msi,
                                             L"Path", JavaHomeValue{folder.file(L"removed")});
    const RegisteredDistribution noValue(HKEY_LOCAL_MACHINE, nativeView, family, L"8162.8", msi,
                                         L"Path", std::nullopt);
    const RegisteredDistribution noMsiKey(HKEY_LOCAL_MACHINE, nativeView, family, L"8162.7", L"",
                                          L"Path", JavaHomeValue{usable});
    const RegisteredDistribution emptyValue(HKEY_LOCAL_MACHINE, nativeView, family, L"8162.6", msi,
                                            L"Path", JavaHomeValue{L""});
    // A folder that is left but holds no runtime any more.
    createFolders(folder.file(L"emptied\\bin"));
    const RegisteredDistribution emptied(HKEY_LOCAL_MACHINE, nativeView, family, L"8162.5", msi,
                                         L"Path", JavaHomeValue{folder.file(L"emptied")});
    for (const ScopedRegistryKey* key : {&uninstalled, &noValue, &noMsiKey, &emptyValue, &emptied})
        ASSERT_TRUE(key->created());

    EXPECT_FALSE(searchCurrentDistributions(nativeView, searchFor(8162)).has_value());

    const RegisteredDistribution installed(HKEY_LOCAL_MACHINE, nativeView, family, L"8162.1", msi,
                                           L"Path", JavaHomeValue{usable});
    ASSERT_TRUE(installed.created());
    const auto launcher = launcherFor(8162);
    ASSERT_TRUE(launcher->selectRuntime());
    EXPECT_EQ(narrow(launcher->jvmLibraryPath), narrow(serverLibraryOf(usable)));
}

TEST(CurrentDistributionRegistry, AJava8KitRegisteredHereIsUsedThroughItsJreFolder) {
    TempFolder folder;
    const std::wstring runtime = makeRuntimeHome(folder.file(L"jdk8\\jre"), {L"server"});
    createFolders(folder.file(L"jdk8\\bin"));
    const RegisteredDistribution kit(HKEY_LOCAL_MACHINE, nativeView, L"Software\\AdoptOpenJDK\\JDK",
                                     L"8163.0.292.10", L"\\hotspot\\MSI", L"Path",
                                     JavaHomeValue{folder.file(L"jdk8\\")});
    ASSERT_TRUE(kit.created());
    const auto launcher = launcherFor(8163);
    ASSERT_TRUE(launcher->selectRuntime());
    EXPECT_EQ(narrow(launcher->jvmLibraryPath), narrow(serverLibraryOf(runtime)));
}

TEST(CurrentDistributionRegistry, PerUserInstallsComeAfterTheMachinesUnlessNewerOrPreferred) {
    TempFolder folder;
    const std::wstring machine = makeRuntimeHome(folder.file(L"machine"), {L"server"});
    const std::wstring user = makeRuntimeHome(folder.file(L"user"), {L"server"});
    const RegisteredDistribution machineKit(HKEY_LOCAL_MACHINE, nativeView,
                                            L"Software\\Eclipse Adoptium\\JDK", L"8164.1",
                                            L"\\hotspot\\MSI", L"Path", JavaHomeValue{machine});
    const RegisteredDistribution userKit(HKEY_CURRENT_USER, nativeView,
                                         L"Software\\Eclipse Adoptium\\JDK", L"8164.1",
                                         L"\\hotspot\\MSI", L"Path", JavaHomeValue{user});
    const RegisteredDistribution newerUserKit(HKEY_CURRENT_USER, nativeView,
                                              L"Software\\Azul Systems\\Zulu", L"zulu-8165.2", L"",
                                              L"InstallationPath", JavaHomeValue{user});
    const RegisteredDistribution olderMachineKit(
        HKEY_LOCAL_MACHINE, nativeView, L"Software\\Microsoft\\JDK", L"8165.1", L"\\hotspot\\MSI",
        L"Path", JavaHomeValue{machine});
    ASSERT_TRUE(machineKit.created() && userKit.created() && newerUserKit.created() &&
                olderMachineKit.created());

    EXPECT_EQ(narrow(searchCurrentDistributions(nativeView, searchFor(8164)).value_or(L"-")),
              narrow(machine));
    EXPECT_EQ(narrow(searchCurrentDistributions(nativeView, searchFor(8165)).value_or(L"-")),
              narrow(user));
    RuntimeSearchSettings preferOlder = searchFor(8165);
    preferOlder.preferredVersions = {L"8165.1"};
    EXPECT_EQ(narrow(searchCurrentDistributions(nativeView, preferOlder).value_or(L"-")),
              narrow(machine));
}

TEST(CurrentDistributionRegistry, PerUserRuntimesCountForTheViewOfTheirArchitecture) {
    // The user's part of the registry is one in both views, so a per-user registration shows
    // natively whatever the runtime's architecture: its JVM library tells.
    TempFolder folder;
    const std::wstring home32 = makeRuntimeHome(folder.file(L"jre32"), {L"server"});
    writeBytesFile(serverLibraryOf(home32), pairedImageHeaders());
    const RegisteredDistribution registered32(HKEY_CURRENT_USER, view32,
                                              L"Software\\Eclipse Adoptium\\JRE", L"8166.0.8.101",
                                              L"\\hotspot\\MSI", L"Path", JavaHomeValue{home32});
    ASSERT_TRUE(registered32.created());
    {
        SCOPED_TRACE("with a paired launcher it is handed over");
        const auto launcher = launcherFor(8166);
        launcher->pairProduct = folder.file(L"app32.exe");
        ASSERT_TRUE(launcher->selectRuntime());
        EXPECT_TRUE(launcher->runPairedProduct);
        EXPECT_EQ(narrow(launcher->jvmLibraryPath), narrow(serverLibraryOf(home32)));
    }
    {
        // Chosen, it could only fail to load: the user is asked for a runtime instead.
        SCOPED_TRACE("without one it is passed over");
        const auto launcher = launcherFor(8166);
        const MessageBoxWatcher cancel(IDCANCEL);
        EXPECT_FALSE(launcher->selectRuntime());
        EXPECT_EQ(cancel.texts().size(), 1u);
        EXPECT_EQ(narrow(launcher->jvmLibraryPath), "");
    }
    {
        // An older per-user runtime of this launcher's own architecture wins over the newer
        // 32-bit one, which only the paired launcher could run.
        SCOPED_TRACE("one of this launcher's architecture comes first");
        const std::wstring home64 = makeRuntimeHome(folder.file(L"jre64"), {L"server"});
        const RegisteredDistribution registered64(
            HKEY_CURRENT_USER, nativeView, L"Software\\Eclipse Adoptium\\JRE", L"8166.0.1.1",
            L"\\hotspot\\MSI", L"Path", JavaHomeValue{home64});
        ASSERT_TRUE(registered64.created());
        const auto launcher = launcherFor(8166);
        launcher->pairProduct = folder.file(L"app32.exe");
        ASSERT_TRUE(launcher->selectRuntime());
        EXPECT_FALSE(launcher->runPairedProduct);
        EXPECT_EQ(narrow(launcher->jvmLibraryPath), narrow(serverLibraryOf(home64)));
    }
}

} // namespace
