// Runtimes registered under the real family keys of HKEY_LOCAL_MACHINE in both registry views,
// collected, ordered and chosen; and the whole selection of a Launcher over them. Each test
// owns one major version (81xx), so tests running at the same time never see each other's
// runtimes, and bounds around it keep out whatever else the machine has registered.
#include "MessageBoxes.h"
#include "RegisteredRuntime.h"
#include "TestFiles.h"
#include "launcher/Architecture.h"
#include "launcher/Launcher.h"
#include "runtime/RegistryRuntimes.h"
#include "settings/LaunchSettingsRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

constexpr bool nativeView = false;
constexpr bool view32 = true;

JavaVersion lowest(int major) {
    return JavaVersion{major, 0, 0, 0};
}
JavaVersion highest(int major) {
    return JavaVersion{major, 0xFFFF, 0xFFFF, 0xFFFF};
}

RuntimeSearchSettings searchFor(int major, int jvmType = 0) {
    RuntimeSearchSettings settings;
    settings.minVersion = lowest(major);
    settings.maxVersion = highest(major);
    settings.jvmType = jvmType;
    return settings;
}

// All four components, so 8105.6 and 8105.6.0.0 read the same.
std::wstring fullVersion(const JavaVersion& version) {
    const auto& c = version.components;
    return std::to_wstring(c[0]) + L"." + std::to_wstring(c[1]) + L"." + std::to_wstring(c[2]) +
           L"." + std::to_wstring(c[3]);
}

// Candidates by version text, for comparing without depending on enumeration order.
std::map<std::wstring, JreCandidate> collect(Family family, bool use32BitView,
                                             const RuntimeSearchSettings& settings) {
    std::vector<JreCandidate> candidates;
    collectRegistryRuntimes(familyOf(family), use32BitView, settings, candidates);
    std::map<std::wstring, JreCandidate> byVersion;
    for (JreCandidate& candidate : candidates)
        byVersion[fullVersion(candidate.version)] = candidate;
    return byVersion;
}

void limitTo(Launcher& launcher, int major) {
    launcher.minVersion = lowest(major);
    launcher.maxVersion = highest(major);
}

void setProvider(Launcher& launcher, const std::wstring& text) {
    const VmProviderChoice provider = vmProviderFromText(text);
    launcher.jrockitAccepted = provider.jrockitAccepted;
    launcher.jrockitFavored = provider.jrockitFavored;
    launcher.sunAccepted = provider.sunAccepted;
    launcher.sunFavored = provider.sunFavored;
    launcher.ibmAccepted = provider.ibmAccepted;
    launcher.ibmFavored = provider.ibmFavored;
}

void wantBothKinds(Launcher& launcher) {
    launcher.jdkWanted = true;
    launcher.jreWanted = true;
}

TEST(RuntimeRegistry, ServerFlagByFamilyAndJvmType) {
    TempFolder folder;
    const std::wstring home = makeRuntimeHome(folder.file(L"rt"), {L"client", L"server"});
    const RegisteredRuntime sun(Family::SunJre, nativeView, L"8101.1", home);
    const RegisteredRuntime ibm(Family::IbmJre, nativeView, L"8101.2", home);
    ASSERT_TRUE(sun.created() && ibm.created());
    struct Row {
        Family family;
        int jvmType;
        bool server;
    };
    // Client before server for type 0; "favor_server" collects Sun runtime environments
    // client-first, other families server-first.
    const std::vector<Row> rows{
        {Family::SunJre, 0, false}, {Family::SunJre, 1, true}, {Family::SunJre, 2, false},
        {Family::IbmJre, 0, false}, {Family::IbmJre, 1, true}, {Family::IbmJre, 2, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << (&row - rows.data()));
        const auto found = collect(row.family, nativeView, searchFor(8101, row.jvmType));
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found.begin()->second.isServerJvm, row.server);
        EXPECT_EQ(narrow(found.begin()->second.homeFolder), narrow(home));
    }
}

TEST(RuntimeRegistry, ServerRequiredSkipsAClientOnlyRuntime) {
    TempFolder folder;
    const std::wstring clientOnly = makeRuntimeHome(folder.file(L"newer"), {L"client"});
    const std::wstring server = makeRuntimeHome(folder.file(L"older"), {L"server"});
    const RegisteredRuntime newer(Family::SunJre, nativeView, L"8102.7", clientOnly);
    const RegisteredRuntime older(Family::SunJre, nativeView, L"8102.6", server);
    ASSERT_TRUE(newer.created() && older.created());

    EXPECT_EQ(narrow(searchRegistry(nativeView, searchFor(8102, 0)).value_or(L"-")),
              narrow(clientOnly));
    EXPECT_EQ(narrow(searchRegistry(nativeView, searchFor(8102, 1)).value_or(L"-")),
              narrow(server));
}

TEST(RuntimeRegistry, DevelopmentKitIsUsedThroughItsJreFolder) {
    TempFolder folder;
    makeRuntimeHome(folder.file(L"kit\\jre"), {L"client"});
    // A kit whose own bin holds a JVM but which has no jre folder offers nothing.
    makeRuntimeHome(folder.file(L"barekit"), {L"client"});
    const RegisteredRuntime kit(Family::SunJdk, nativeView, L"8103.1", folder.file(L"kit"));
    const RegisteredRuntime bare(Family::SunJdk, nativeView, L"8103.2", folder.file(L"barekit"));
    const RegisteredRuntime jrockit(Family::JRockitJdk, nativeView, L"8103.3",
                                    folder.file(L"kit\\"));
    ASSERT_TRUE(kit.created() && bare.created() && jrockit.created());

    const auto sun = collect(Family::SunJdk, nativeView, searchFor(8103));
    ASSERT_EQ(sun.size(), 1u);
    EXPECT_EQ(narrow(sun.at(L"8103.1.0.0").homeFolder), narrow(folder.file(L"kit\\jre\\")));
    const auto jrockitKits = collect(Family::JRockitJdk, nativeView, searchFor(8103));
    ASSERT_EQ(jrockitKits.size(), 1u);
    EXPECT_EQ(narrow(jrockitKits.at(L"8103.3.0.0").homeFolder), narrow(folder.file(L"kit\\jre\\")));
}

TEST(RuntimeRegistry, JavaHomeValuesAreReadWholeAndSafely) {
    TempFolder folder;
    const std::wstring home = makeRuntimeHome(folder.file(L"rt"), {L"client"});
    const std::wstring plain = folder.file(L"rt"); // without a trailing backslash
    // A long folder name, so the value is longer than any fixed path buffer.
    const std::wstring longName(200, L'n');
    const std::wstring longHome =
        makeRuntimeHome(folder.file(longName + L"\\" + longName), {L"client"});

    RegisteredRuntime withoutBackslash(Family::SunJre, nativeView, L"8104.1", plain);
    RegisteredRuntime withBackslash(Family::SunJre, nativeView, L"8104.2", home);
    RegisteredRuntime unterminated(Family::SunJre, nativeView, L"8104.3",
                                   JavaHomeValue{plain, REG_SZ, false});
    RegisteredRuntime binary(Family::SunJre, nativeView, L"8104.4",
                             JavaHomeValue{plain, REG_BINARY, false});
    RegisteredRuntime missing(Family::SunJre, nativeView, L"8104.5", std::nullopt);
    RegisteredRuntime empty(Family::SunJre, nativeView, L"8104.6", JavaHomeValue{L""});
    // Environment references are taken literally, so this folder does not exist.
    RegisteredRuntime reference(Family::SunJre, nativeView, L"8104.7",
                                JavaHomeValue{L"%QOVA_NO_SUCH_VARIABLE%", REG_EXPAND_SZ});
    RegisteredRuntime longValue(Family::SunJre, nativeView, L"8104.8", longHome);
    for (const RegisteredRuntime* runtime : {&withoutBackslash, &withBackslash, &unterminated,
                                             &binary, &missing, &empty, &reference, &longValue})
        ASSERT_TRUE(runtime->created());

    const auto found = collect(Family::SunJre, nativeView, searchFor(8104));
    std::map<std::wstring, std::string> homes;
    for (const auto& [version, candidate] : found)
        homes[version] = narrow(candidate.homeFolder);
    const std::map<std::wstring, std::string> expected{
        {L"8104.1.0.0", narrow(home)},     {L"8104.2.0.0", narrow(home)},
        {L"8104.3.0.0", narrow(home)},     {L"8104.4.0.0", narrow(home)},
        {L"8104.8.0.0", narrow(longHome)},
    };
    EXPECT_EQ(homes, expected);
}

TEST(RuntimeRegistry, VersionBoundsAndSubKeyNames) {
    TempFolder folder;
    const std::wstring home = makeRuntimeHome(folder.file(L"rt"), {L"client"});
    const RegisteredRuntime shortName(Family::SunJre, nativeView, L"8105.6", home);
    const RegisteredRuntime update(Family::SunJre, nativeView, L"8105.6.0_20", home);
    const RegisteredRuntime tooNew(Family::SunJre, nativeView, L"8105.7.0", home);
    const RegisteredRuntime tooOld(Family::SunJre, nativeView, L"8104.9", home);
    ASSERT_TRUE(shortName.created() && update.created() && tooNew.created() && tooOld.created());

    RuntimeSearchSettings settings = searchFor(8105);
    settings.maxVersion = JavaVersion{8105, 6, 0xFFFF, 0xFFFF}; // "Maximum Version" 8105.6
    const auto found = collect(Family::SunJre, nativeView, settings);
    std::vector<std::wstring> versions;
    for (const auto& entry : found)
        versions.push_back(entry.first);
    EXPECT_EQ(versions, (std::vector<std::wstring>{L"8105.6.0.0", L"8105.6.0.20"}));
}

TEST(RuntimeRegistry, SubKeyWithoutDigitsIsVersionZeroAndStillMeetsTheBounds) {
    TempFolder folder;
    const std::wstring home = makeRuntimeHome(folder.file(L"rt"), {L"client"});
    const RegisteredRuntime named(Family::JRockitJre, nativeView, L"qova-test-current", home);
    ASSERT_TRUE(named.created());
    const auto isOurs = [&](const JreCandidate& c) { return c.homeFolder == home; };

    std::vector<JreCandidate> bounded;
    collectRegistryRuntimes(familyOf(Family::JRockitJre), nativeView, searchFor(8105), bounded);
    EXPECT_EQ(std::count_if(bounded.begin(), bounded.end(), isOurs), 0);

    std::vector<JreCandidate> unbounded;
    RuntimeSearchSettings any; // 0.0.0.0 to 0.0.0.0: both ends unbounded
    collectRegistryRuntimes(familyOf(Family::JRockitJre), nativeView, any, unbounded);
    const auto ours = std::find_if(unbounded.begin(), unbounded.end(), isOurs);
    ASSERT_NE(ours, unbounded.end());
    EXPECT_TRUE(ours->version.isZero());
}

TEST(RuntimeRegistry, ThirtyTwoBitViewIsSeparateAndUsedOnlyWithAPairedProduct) {
    if (!architecture::kPairedRegistryViewIs32Bit)
        GTEST_SKIP() << "the ARM64 launcher's pair is an x64 one, whose runtimes share its view";
    TempFolder folder;
    const std::wstring home = makeRuntimeHome(folder.file(L"rt32"), {L"client"});
    const RegisteredRuntime runtime(Family::SunJre, view32, L"8106.1", home);
    ASSERT_TRUE(runtime.created());

    EXPECT_TRUE(collect(Family::SunJre, nativeView, searchFor(8106)).empty());
    EXPECT_EQ(collect(Family::SunJre, view32, searchFor(8106)).size(), 1u);

    {
        // Without a paired product nothing qualifies: the user is asked, and cancels.
        const MessageBoxWatcher cancel(IDCANCEL);
        Launcher alone;
        limitTo(alone, 8106);
        EXPECT_FALSE(alone.selectRuntime());
        EXPECT_EQ(narrow(alone.jvmLibraryPath), "");
        EXPECT_FALSE(alone.runPairedProduct);
        EXPECT_EQ(cancel.texts().size(), 1u);
    }

    Launcher paired;
    limitTo(paired, 8106);
    paired.pairProduct = folder.file(L"app32.exe");
    ASSERT_TRUE(paired.selectRuntime());
    EXPECT_TRUE(paired.runPairedProduct);
    EXPECT_EQ(narrow(paired.jvmLibraryPath), narrow(home + L"bin\\client\\jvm.dll"));
}

TEST(RuntimeRegistry, NativeViewWinsOverThe32BitViewWithoutHandOver) {
    TempFolder folder;
    const std::wstring home64 = makeRuntimeHome(folder.file(L"rt64"), {L"server"});
    const std::wstring home32 = makeRuntimeHome(folder.file(L"rt32"), {L"client"});
    const RegisteredRuntime older64(Family::SunJre, nativeView, L"8111.1", home64);
    const RegisteredRuntime newer32(Family::SunJre, view32, L"8111.9", home32);
    ASSERT_TRUE(older64.created() && newer32.created());

    Launcher launcher;
    limitTo(launcher, 8111);
    launcher.pairProduct = folder.file(L"app32.exe");
    ASSERT_TRUE(launcher.selectRuntime());
    EXPECT_FALSE(launcher.runPairedProduct);
    EXPECT_EQ(narrow(launcher.jvmLibraryPath), narrow(home64 + L"bin\\server\\jvm.dll"));
}

TEST(RuntimeRegistry, FavorServerPrefersAKitWithServerJvmAndLoadsItsServerLibrary) {
    TempFolder folder;
    const std::wstring kitRuntime = makeRuntimeHome(folder.file(L"kit\\jre"), {L"server"});
    const std::wstring jre = makeRuntimeHome(folder.file(L"jre"), {L"client", L"server"});
    const RegisteredRuntime kit(Family::SunJdk, nativeView, L"8107.6", folder.file(L"kit"));
    const RegisteredRuntime newer(Family::SunJre, nativeView, L"8107.7", jre);
    ASSERT_TRUE(kit.created() && newer.created());

    Launcher favorServer;
    wantBothKinds(favorServer);
    limitTo(favorServer, 8107);
    favorServer.jvmType = 2;
    ASSERT_TRUE(favorServer.selectRuntime());
    EXPECT_EQ(narrow(favorServer.jvmLibraryPath), narrow(kitRuntime + L"bin\\server\\jvm.dll"));

    Launcher anyJvm;
    wantBothKinds(anyJvm);
    limitTo(anyJvm, 8107);
    ASSERT_TRUE(anyJvm.selectRuntime());
    EXPECT_EQ(narrow(anyJvm.jvmLibraryPath), narrow(jre + L"bin\\client\\jvm.dll"));
}

TEST(RuntimeRegistry, ProviderSettingsChooseAndExcludeFamilies) {
    TempFolder folder;
    const std::wstring ibmHome = makeRuntimeHome(folder.file(L"ibm"), {L"client"});
    const std::wstring sunHome = makeRuntimeHome(folder.file(L"sun"), {L"client"});
    const RegisteredRuntime ibm(Family::IbmJre, nativeView, L"8108.6", ibmHome);
    const RegisteredRuntime sun(Family::SunJre, nativeView, L"8108.7", sunHome);
    ASSERT_TRUE(ibm.created() && sun.created());
    struct Row {
        const wchar_t* provider;
        bool found;
        std::wstring library;
    };
    const std::vector<Row> rows{
        {L"", true, sunHome + L"bin\\client\\jvm.dll"},
        {L"favor_ibm", true, ibmHome + L"bin\\client\\jvm.dll"},
        {L"any", true, sunHome + L"bin\\client\\jvm.dll"},
        {L"ibm", true, ibmHome + L"bin\\client\\jvm.dll"},
        {L"jrockit", false, L""},
    };
    // A provider that finds nothing leads to the missing-runtime dialog, which is cancelled.
    const MessageBoxWatcher cancel(IDCANCEL);
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.provider));
        Launcher launcher;
        wantBothKinds(launcher);
        limitTo(launcher, 8108);
        setProvider(launcher, row.provider);
        EXPECT_EQ(launcher.selectRuntime(), row.found);
        EXPECT_EQ(narrow(launcher.jvmLibraryPath), narrow(row.library));
    }
    EXPECT_EQ(cancel.texts().size(), 1u);
}

TEST(RuntimeRegistry, PreferredVersionsChooseAmongRegisteredRuntimes) {
    TempFolder folder;
    const std::wstring six = makeRuntimeHome(folder.file(L"six"), {L"client"});
    const std::wstring seven = makeRuntimeHome(folder.file(L"seven"), {L"client"});
    const RegisteredRuntime older(Family::SunJre, nativeView, L"8109.6.0_20", six);
    const RegisteredRuntime newer(Family::SunJre, nativeView, L"8109.7.0_45", seven);
    ASSERT_TRUE(older.created() && newer.created());
    struct Row {
        std::vector<std::wstring> preferred;
        std::wstring home;
    };
    const std::vector<Row> rows{
        {{}, seven},
        {{L"8109.6"}, six},
        {{L"8109.5", L"8109.7"}, seven},
        {{L"8109.6.0.20", L"8109.7"}, six},
        {{L"8109.8"}, seven},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << (&row - rows.data()));
        RuntimeSearchSettings settings = searchFor(8109);
        settings.preferredVersions = row.preferred;
        EXPECT_EQ(narrow(searchRegistry(nativeView, settings).value_or(L"-")), narrow(row.home));
    }
}

TEST(RuntimeRegistry, ConfiguredJrePathWinsBelowTheMinimumAndGetsABackslash) {
    TempFolder folder;
    const std::wstring configured = makeRuntimeHome(folder.file(L"configured"), {L"client"});
    const std::wstring registered = makeRuntimeHome(folder.file(L"registered"), {L"server"});
    const RegisteredRuntime runtime(Family::SunJre, nativeView, L"8110.1", registered);
    ASSERT_TRUE(runtime.created());

    Launcher launcher;
    limitTo(launcher, 8110);
    launcher.jrePath = folder.file(L"configured"); // no trailing backslash, no version at all
    ASSERT_TRUE(launcher.selectRuntime());
    EXPECT_EQ(narrow(launcher.jvmLibraryPath), narrow(configured + L"bin\\client\\jvm.dll"));
    EXPECT_FALSE(launcher.runPairedProduct);

    // A configured runtime without the server JVM that is required is passed over silently.
    Launcher server;
    limitTo(server, 8110);
    server.jvmType = 1;
    server.jrePath = configured;
    ASSERT_TRUE(server.selectRuntime());
    EXPECT_EQ(narrow(server.jvmLibraryPath), narrow(registered + L"bin\\server\\jvm.dll"));
}

// Makes a folder the current directory for one test and puts the old one back afterwards.
class ScopedCurrentDirectory {
  public:
    explicit ScopedCurrentDirectory(const std::wstring& folder) {
        old_.resize(GetCurrentDirectoryW(0, nullptr));
        old_.resize(GetCurrentDirectoryW(static_cast<DWORD>(old_.size()), old_.data()));
        changed_ = SetCurrentDirectoryW(folder.c_str());
    }
    ~ScopedCurrentDirectory() { SetCurrentDirectoryW(old_.c_str()); }
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;
    bool changed() const { return changed_; }

  private:
    std::wstring old_;
    bool changed_ = false;
};

TEST(RuntimeRegistry, RelativeJrePathGivesTheFullPathOfTheLibrary) {
    TempFolder folder;
    const std::wstring configured = makeRuntimeHome(folder.file(L"configured"), {L"client"});
    for (const wchar_t* jrePath : {L"configured", L".\\configured\\", L"configured/"}) {
        SCOPED_TRACE(narrow(jrePath));
        Launcher launcher;
        launcher.jrePath = jrePath;
        {
            const ScopedCurrentDirectory current(folder.path());
            ASSERT_TRUE(current.changed());
            ASSERT_TRUE(launcher.selectRuntime());
        }
        // Loaded and published later, when the current directory need not be this one.
        EXPECT_EQ(narrow(launcher.jvmLibraryPath), narrow(configured + L"bin\\client\\jvm.dll"));
    }
}

TEST(RuntimeRegistry, ConfiguredThirtyTwoBitRuntimeHandsOverOnlyWithAPairedProduct) {
    TempFolder folder;
    const std::wstring home = makeRuntimeHome(folder.file(L"rt32"), {L"client"});
    writeBytesFile(home + L"bin\\client\\jvm.dll", pairedImageHeaders());
    for (const bool paired : {false, true}) {
        SCOPED_TRACE(paired);
        Launcher launcher;
        limitTo(launcher, 8113);
        launcher.jrePath = home;
        if (paired)
            launcher.pairProduct = folder.file(L"app32.exe");
        ASSERT_TRUE(launcher.selectRuntime());
        EXPECT_EQ(narrow(launcher.jvmLibraryPath), narrow(home + L"bin\\client\\jvm.dll"));
        EXPECT_EQ(launcher.runPairedProduct, paired);
    }
}

TEST(RuntimeRegistry, NothingQualifyingAsksTheUserAndCancellingFails) {
    TempFolder folder;
    const std::wstring clientOnly = makeRuntimeHome(folder.file(L"rt"), {L"client"});
    const RegisteredRuntime runtime(Family::SunJre, nativeView, L"8112.1", clientOnly);
    ASSERT_TRUE(runtime.created());

    Launcher launcher;
    limitTo(launcher, 8112);
    launcher.jvmType = 1;
    launcher.jrePath = clientOnly;
    // The user is asked at the end of the search, and cancels.
    const MessageBoxWatcher cancel(IDCANCEL);
    EXPECT_FALSE(launcher.selectRuntime());
    EXPECT_EQ(narrow(launcher.jvmLibraryPath), "");
    const std::vector<std::wstring> dialogs = cancel.texts();
    ASSERT_EQ(dialogs.size(), 1u);
    // Asked for the server JVM the search required.
    EXPECT_NE(dialogs[0].find(L"with a server JVM (version between 8112.0 and 8112.65535)"),
              std::wstring::npos)
        << narrow(dialogs[0]);
}

TEST(RuntimeRegistry, SecondInstanceSearchesNothing) {
    TempFolder folder;
    Launcher launcher;
    launcher.singleInstance = true;
    launcher.jrePath = makeRuntimeHome(folder.file(L"rt"), {L"client"});
    EXPECT_TRUE(launcher.selectRuntime());
    EXPECT_EQ(narrow(launcher.jvmLibraryPath), "");
}

} // namespace
