// Handing the launch over to the paired launcher when only a runtime of its architecture
// qualifies: a 32-bit one for the x64 launcher, an x64 one for the ARM64 launcher. The paired
// launcher is a probe that writes down its command line and ends with the code the test gives
// it through the environment, which it inherits through the launcher. The 32-bit launcher runs
// the same cases and must never start it.
#include "JavaApp.h"
#include "ScopedRegistryKey.h"
#include "TestedBuild.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>
#include <utility>

using namespace testjvm;

namespace {

constexpr DWORD kFailureExitCode = 4294967295u;
constexpr wchar_t kSunRuntimeKey[] = L"Software\\JavaSoft\\Java Runtime Environment\\";
// Neither a private runtime beside the exe nor in its private runtime folder.
const RuntimeLayout notAHome{.javaLibrary = false};

// The paired launcher in a folder whose name has a blank, as "Program Files (x86)" does.
std::wstring placeProbe(const AppFolder& app) {
    createFolders(app.file(L"paired launcher"));
    const std::wstring path = app.file(L"paired launcher\\app32.exe");
    if (!CopyFileW((testProgramFolder() + L"\\paired_probe.exe").c_str(), path.c_str(), FALSE))
        return {};
    return path;
}

// The command line the probe was started with, once it has written it.
std::optional<std::wstring> probeCommandLine(const std::wstring& probe) {
    const std::wstring path = probe + L".cmdline";
    for (int tries = 0; tries < 600; ++tries) {
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
            Sleep(100); // let it finish writing
            const std::string bytes = readBytesFile(path);
            return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                                bytes.size() / sizeof(wchar_t));
        }
        Sleep(100);
    }
    return std::nullopt;
}

int argumentCount(const std::wstring& commandLine) {
    int count = 0;
    LocalFree(CommandLineToArgvW(commandLine.c_str(), &count));
    return count;
}

std::wstring settingsFor(const std::wstring& probe, const wchar_t* pairReturnCode) {
    std::wstring lines = L"Pair Product=" + probe + L"\r\n";
    if (pairReturnCode)
        lines += std::wstring(L"Pair Return Code=") + pairReturnCode + L"\r\n";
    return lines;
}

bool probeStarted(const std::wstring& probe) {
    return GetFileAttributesW((probe + L".cmdline").c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool mainRanIn(const std::wstring& home) {
    const auto record = readRecord(home);
    return record && !record->callsOf(L"main").empty();
}

// Nothing qualifies; whatever the launcher shows about that is cancelled. The exit code, and
// the number of windows it showed.
std::pair<DWORD, int> launchCancellingDialogs(const JavaApp& app) {
    int dialogs = 0;
    const LaunchResult result = app.launch({.onDialog = [&dialogs](HWND dialog) {
        ++dialogs;
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return true;
    }});
    EXPECT_FALSE(result.timedOut);
    return {result.exitCode, dialogs};
}

// The ARM64 launcher never looks into the 32-bit view: its pair's runtimes share its own.
constexpr const char* kArm64PairSharesItsView =
    "the ARM64 launcher's pair is an x64 one, registered in the 64-bit view";

TEST(PairedProduct, RuntimeOnlyInThe32BitView) {
    if (tested::kIsArm64Build)
        GTEST_SKIP() << kArm64PairSharesItsView;
    JavaApp app(notAHome);
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    // A runtime the launcher could load if it tried, registered where only a 32-bit
    // launcher looks: had it been loaded, its record would show it.
    const std::wstring registered = layOutRuntime(app.app.file(L"registered32"));
    ASSERT_FALSE(registered.empty());
    const ScopedRegistryKey key(std::wstring(kSunRuntimeKey) + L"8131.1", true,
                                JavaHomeValue{registered});
    ASSERT_TRUE(key.created());
    const std::wstring probe = placeProbe(app.app);
    ASSERT_FALSE(probe.empty());

    struct Row {
        const wchar_t* pairReturnCode;
        DWORD exitCode;
    };
    for (const Row row : {Row{L"yes", 7}, Row{L"YeS", 7}, Row{L"no", 0}, Row{nullptr, 0}}) {
        SCOPED_TRACE(row.pairReturnCode ? narrow(row.pairReturnCode) : "absent");
        DeleteFileW((probe + L".cmdline").c_str());
        ASSERT_TRUE(writeScript(registered, JavaApp::script()));
        app.writeSettings({.runtimeLines = L"Minimum Version=8131\r\nMaximum Version=8131.9\r\n",
                           .applicationLines = settingsFor(probe, row.pairReturnCode)});
        const LaunchResult result = app.launch({.arguments = L"first \"second one\"",
                                                .environment = {{L"QOVA_PROBE_EXIT_CODE", L"7"}}});
        ASSERT_FALSE(result.timedOut);
        EXPECT_TRUE(result.messageBoxes.empty());
        EXPECT_FALSE(readRecord(app.runtimeHome));
        if (!tested::kHandsOverToPairedProduct) {
            // The 32-bit view is the 32-bit launcher's own: it runs the runtime itself.
            EXPECT_EQ(result.exitCode, 0u);
            EXPECT_TRUE(mainRanIn(registered));
            EXPECT_FALSE(probeStarted(probe));
            continue;
        }
        EXPECT_EQ(result.exitCode, row.exitCode);
        const auto commandLine = probeCommandLine(probe);
        ASSERT_TRUE(commandLine);
        // The paired launcher gets its own path and none of the launch's arguments.
        EXPECT_EQ(argumentCount(*commandLine), 1) << narrow(*commandLine);
        EXPECT_FALSE(readRecord(registered));
    }
}

TEST(PairedProduct, CurrentDistributionOnlyInThe32BitView) {
    // Today's distributions register under their own keys, in the installer's view: one known
    // only to the 32-bit view hands over just as a classic registration does.
    if (tested::kIsArm64Build)
        GTEST_SKIP() << kArm64PairSharesItsView;
    JavaApp app(notAHome);
    const std::wstring home = layOutRuntime(app.app.file(L"installed\\jdk32"));
    ASSERT_FALSE(home.empty());
    ASSERT_TRUE(writeScript(home, JavaApp::script()));
    const ScopedRegistryKey registered(
        HKEY_LOCAL_MACHINE, L"Software\\Eclipse Adoptium\\JRE\\8174.0.8.101\\hotspot\\MSI", true,
        L"Path", JavaHomeValue{app.app.file(L"installed\\jdk32")});
    ASSERT_TRUE(registered.created());
    const std::wstring probe = placeProbe(app.app);
    ASSERT_FALSE(probe.empty());
    app.writeSettings({.runtimeLines = L"Minimum Version=8174\r\nMaximum Version=8174.9\r\n",
                       .applicationLines = settingsFor(probe, L"Yes")});

    const LaunchResult result =
        app.launch({.environment = {{L"QOVA_PROBE_EXIT_CODE", L"5"}}});
    ASSERT_FALSE(result.timedOut);
    EXPECT_TRUE(result.messageBoxes.empty());
    EXPECT_FALSE(readRecord(app.runtimeHome));
    if (!tested::kHandsOverToPairedProduct) {
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_TRUE(mainRanIn(home));
        EXPECT_FALSE(probeStarted(probe));
        return;
    }
    // This process never loads the 32-bit runtime's library: the paired launcher is started
    // and its exit code is the launch's.
    EXPECT_FALSE(readRecord(home));
    EXPECT_TRUE(probeCommandLine(probe).has_value());
    EXPECT_EQ(result.exitCode, 5u);
}

TEST(PairedProduct, ThirtyTwoBitLauncherNeverSearchesThe64BitView) {
    if (!tested::kIsPairedBuild)
        GTEST_SKIP() << "the 64-bit view is the 64-bit launcher's own";
    JavaApp app(notAHome);
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    const std::wstring registered = layOutRuntime(app.app.file(L"registered64"));
    ASSERT_FALSE(registered.empty());
    ASSERT_TRUE(writeScript(registered, JavaApp::script()));
    const ScopedRegistryKey key(std::wstring(kSunRuntimeKey) + L"8132.1", false,
                                JavaHomeValue{registered});
    ASSERT_TRUE(key.created());
    const std::wstring probe = placeProbe(app.app);
    ASSERT_FALSE(probe.empty());
    app.writeSettings({.runtimeLines = L"Minimum Version=8132\r\nMaximum Version=8132.9\r\n",
                       .applicationLines = settingsFor(probe, L"Yes")});

    // Nothing the 32-bit launcher can load qualifies.
    const auto [exitCode, dialogs] = launchCancellingDialogs(app);
    EXPECT_EQ(exitCode, kFailureExitCode);
    EXPECT_LE(dialogs, 1);
    EXPECT_FALSE(probeStarted(probe));
    EXPECT_FALSE(readRecord(registered));
}

TEST(PairedProduct, OtherLaunchersRuntimeFolderIsNotThePrivateRuntime) {
    // A runtime this launcher could load, in the folder where the other build keeps its own.
    JavaApp app(notAHome);
    const std::wstring other =
        layOutRuntime(app.app.file(tested::kIsPairedBuild ? L"jre64" : L"jre32"));
    ASSERT_FALSE(other.empty());
    ASSERT_TRUE(writeScript(other, JavaApp::script()));
    app.writeSettings({.runtimeLines = L"Minimum Version=8134\r\nMaximum Version=8134.9\r\n"});

    const auto [exitCode, dialogs] = launchCancellingDialogs(app);
    EXPECT_EQ(exitCode, kFailureExitCode);
    EXPECT_LE(dialogs, 1);
    EXPECT_FALSE(readRecord(other));
}

TEST(PairedProduct, OtherArchitectureJrePathHandsOverOnlyFromThe64BitLauncher) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    createFolders(app.app.file(L"rt\\bin\\server"));
    const std::wstring library = app.app.file(L"rt\\bin\\server\\jvm.dll");
    ASSERT_TRUE(writeOtherArchitectureLibrary(library));
    const std::wstring probe = placeProbe(app.app);
    ASSERT_FALSE(probe.empty());

    for (const bool paired : {true, false}) {
        SCOPED_TRACE(paired);
        DeleteFileW((probe + L".cmdline").c_str());
        app.writeSettings({.runtimeLines = L"JRE Path=" + app.app.file(L"rt") + L"\r\n",
                           .applicationLines = paired ? settingsFor(probe, L"Yes") : L""});
        const LaunchResult result = app.launch({.environment = {{L"QOVA_PROBE_EXIT_CODE", L"5"}}});
        ASSERT_FALSE(result.timedOut);
        if (paired && tested::kHandsOverToPairedProduct) {
            // A 32-bit library beside the 64-bit launcher.
            EXPECT_EQ(result.exitCode, 5u);
            EXPECT_TRUE(result.messageBoxes.empty());
            EXPECT_TRUE(probeCommandLine(probe));
        } else {
            // Loaded directly, which a process of the other architecture cannot do:
            // ERROR_BAD_EXE_FORMAT.
            EXPECT_EQ(result.exitCode, kFailureExitCode);
            EXPECT_EQ(result.messageTexts(),
                      std::vector<std::wstring>{L"Failed to load Java VM library: " + library +
                                                L" (errno = 193).\n"});
            EXPECT_FALSE(probeStarted(probe));
        }
        // The private runtime beside the exe was not reached either way.
        EXPECT_FALSE(readRecord(app.runtimeHome));
    }
}

TEST(PairedProduct, Arm64LauncherTellsTheSharedViewsRuntimesApart) {
    if (!tested::kIsArm64Build)
        GTEST_SKIP() << "only ARM64 Windows registers two launchers' runtimes in one view";
    JavaApp app(notAHome);
    // A newer x64 runtime and an older ARM64 one, both in the 64-bit view, as an ARM64 machine
    // with both installed has them.
    const std::wstring arm64 = layOutRuntime(app.app.file(L"installed\\arm64"));
    ASSERT_FALSE(arm64.empty());
    ASSERT_TRUE(writeScript(arm64, JavaApp::script()));
    const std::wstring x64 = app.app.file(L"installed\\x64");
    createFolders(x64 + L"\\bin\\server");
    ASSERT_TRUE(writeOtherArchitectureLibrary(x64 + L"\\bin\\server\\jvm.dll"));
    const ScopedRegistryKey newer(std::wstring(kSunRuntimeKey) + L"8133.2", false,
                                  JavaHomeValue{x64});
    ASSERT_TRUE(newer.created());
    std::optional<ScopedRegistryKey> older;
    older.emplace(std::wstring(kSunRuntimeKey) + L"8133.1", false, JavaHomeValue{arm64});
    ASSERT_TRUE(older->created());
    const std::wstring probe = placeProbe(app.app);
    ASSERT_FALSE(probe.empty());
    app.writeSettings({.runtimeLines = L"Minimum Version=8133\r\nMaximum Version=8133.9\r\n",
                       .applicationLines = settingsFor(probe, L"Yes")});

    // Its own runtime first, though the x64 one is newer.
    LaunchResult result = app.launch({.environment = {{L"QOVA_PROBE_EXIT_CODE", L"5"}}});
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_TRUE(mainRanIn(arm64));
    EXPECT_FALSE(probeStarted(probe));

    // With the x64 runtime alone, the paired x64 launcher runs it.
    older.reset();
    result = app.launch({.environment = {{L"QOVA_PROBE_EXIT_CODE", L"5"}}});
    ASSERT_FALSE(result.timedOut);
    EXPECT_TRUE(result.messageBoxes.empty());
    EXPECT_EQ(result.exitCode, 5u);
    EXPECT_TRUE(probeCommandLine(probe).has_value());
}

TEST(PairedProduct, Arm64LauncherRefusesTheX64StandInRuntime) {
    if (!tested::kIsArm64Build)
        GTEST_SKIP() << "only the ARM64 launcher refuses a 64-bit library of another machine";
    // The x64 build's stand-in runtime: a real x64 jvm.dll, exports and all.
    const std::wstring x64Library = x64BuildFolder() + L"\\testjvm\\jvm.dll";
    ASSERT_NE(GetFileAttributesW(x64Library.c_str()), INVALID_FILE_ATTRIBUTES)
        << narrow(x64Library);
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    createFolders(app.app.file(L"rt\\bin\\server"));
    const std::wstring library = app.app.file(L"rt\\bin\\server\\jvm.dll");
    ASSERT_TRUE(CopyFileW(x64Library.c_str(), library.c_str(), FALSE));
    app.writeSettings({.runtimeLines = L"JRE Path=" + app.app.file(L"rt") + L"\r\n"});

    const LaunchResult result = app.launch();
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, kFailureExitCode);
    EXPECT_EQ(result.messageTexts(),
              std::vector<std::wstring>{L"Failed to load Java VM library: " + library +
                                        L" (errno = 193).\n"});
    EXPECT_FALSE(readRecord(app.runtimeHome));
}

} // namespace
