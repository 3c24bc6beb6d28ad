// Which Java runtime the launcher loads, seen from outside: the runtime whose record shows a
// created VM and a main call is the one selected. Runtimes are laid out beside the exe, where
// "JRE Path" points, and registered in the registry under a version no real runtime has.
#include "JavaApp.h"
#include "ScopedRegistryKey.h"

#include <gtest/gtest.h>

using namespace testjvm;

namespace {

constexpr DWORD kFailureExitCode = 4294967295u;
constexpr wchar_t kSunRuntimeKey[] = L"Software\\JavaSoft\\Java Runtime Environment\\";

// A runtime home the launcher may pick, with a script whose main class exists.
std::wstring runtimeWithScript(const std::wstring& folder, const RuntimeLayout& layout = {}) {
    const std::wstring home = layOutRuntime(folder, layout);
    if (!home.empty() && !writeScript(home, JavaApp::script()))
        return {};
    return home;
}

bool mainRanIn(const std::wstring& home) {
    const auto record = readRecord(home);
    return record && !record->callsOf(L"main").empty();
}

bool vmCreatedIn(const std::wstring& home) {
    const auto record = readRecord(home);
    return record && record->createCalls > 0;
}

void expectSuccessWithoutMessages(const LaunchResult& result) {
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    for (const std::wstring& text : result.messageTexts())
        ADD_FAILURE() << narrow(text);
}

// A private runtime neither beside the exe nor in its runtime folder (jre64, or jre32 for the
// 32-bit launcher): the folder exists but lacks bin\java.dll.
const RuntimeLayout notAHome{.javaLibrary = false};

TEST(RuntimeSelection, ExecutableFolderItselfIsThePrivateRuntimeBeforeItsRuntimeFolder) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    const std::wstring beside = runtimeWithScript(app.app.folder());
    ASSERT_FALSE(beside.empty());
    app.writeSettings();

    expectSuccessWithoutMessages(app.launch());
    EXPECT_TRUE(mainRanIn(beside));
    EXPECT_FALSE(vmCreatedIn(app.runtimeHome));
}

TEST(RuntimeSelection, RuntimeFolderBesideTheExeIsThePrivateRuntime) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    app.writeSettings();
    expectSuccessWithoutMessages(app.launch());
    EXPECT_TRUE(mainRanIn(app.runtimeHome));
}

TEST(RuntimeSelection, JrePathWinsOverThePrivateRuntimeAndTheMinimumVersion) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    const std::wstring configured = runtimeWithScript(app.app.file(L"configured"));
    ASSERT_FALSE(configured.empty());
    // Written without the trailing backslash; no version at all would pass a minimum of 99.
    app.writeSettings({.runtimeLines = L"JRE Path=" + app.app.file(L"configured") +
                                       L"\r\nMinimum Version=99\r\n"});

    expectSuccessWithoutMessages(app.launch());
    EXPECT_TRUE(mainRanIn(configured));
    EXPECT_FALSE(vmCreatedIn(app.runtimeHome));
}

TEST(RuntimeSelection, RelativeJrePathFollowsTheWorkingDirectoryRule) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    const std::wstring configured = runtimeWithScript(app.app.file(L"configured"));
    ASSERT_FALSE(configured.empty());
    TempFolder elsewhere;
    struct Row {
        const wchar_t* overrideWorkingDir;
        bool configuredLoaded;
    };
    // Started from another folder: only with the exe's folder made current first does the
    // relative path reach the configured runtime; otherwise the private runtime is loaded.
    for (const Row row : {Row{L"Yes", true}, Row{L"yES", true}, Row{L"No", false}}) {
        SCOPED_TRACE(narrow(row.overrideWorkingDir));
        clearRecord(configured);
        clearRecord(app.runtimeHome);
        app.writeSettings({.runtimeLines = L"JRE Path=configured\r\n",
                           .applicationLines = std::wstring(L"Override WorkingDir=") +
                                               row.overrideWorkingDir + L"\r\n"});
        expectSuccessWithoutMessages(app.launch({.currentDirectory = elsewhere.path()}));
        EXPECT_EQ(mainRanIn(configured), row.configuredLoaded);
        EXPECT_EQ(mainRanIn(app.runtimeHome), !row.configuredLoaded);
    }
}

TEST(RuntimeSelection, RegisteredRuntimeIsLoadedWhenNothingIsBesideTheExe) {
    JavaApp app(notAHome);
    const std::wstring older = runtimeWithScript(app.app.file(L"installed\\8120.1"));
    const std::wstring newer = runtimeWithScript(app.app.file(L"installed\\8120.2"));
    ASSERT_FALSE(older.empty() || newer.empty());
    const ScopedRegistryKey olderKey(std::wstring(kSunRuntimeKey) + L"8120.1",
                                     tested::kOwnRegistryViewIs32Bit,
                                     JavaHomeValue{app.app.file(L"installed\\8120.1")});
    const ScopedRegistryKey newerKey(std::wstring(kSunRuntimeKey) + L"8120.2",
                                     tested::kOwnRegistryViewIs32Bit, JavaHomeValue{newer});
    ASSERT_TRUE(olderKey.created() && newerKey.created());
    struct Row {
        const wchar_t* lines;
        std::wstring loaded;
    };
    const std::vector<Row> rows{
        {L"Minimum Version=8120\r\nMaximum Version=8120.9\r\n", newer},
        {L"Minimum Version=8120\r\nMaximum Version=8120.9\r\nPreferred versions=8120.1\r\n", older},
        {L"Minimum Version=8120\r\nMaximum Version=8120.1\r\n", older},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.lines));
        clearRecord(older);
        clearRecord(newer);
        app.writeSettings({.runtimeLines = row.lines});
        expectSuccessWithoutMessages(app.launch());
        EXPECT_TRUE(mainRanIn(row.loaded));
        EXPECT_FALSE(vmCreatedIn(row.loaded == older ? newer : older));
    }
}

TEST(RuntimeSelection, NothingQualifyingAsksTheUserAndCancellingFailsWithoutAMessage) {
    struct Row {
        RuntimeLayout jre64;
        const wchar_t* lines;
    };
    const std::vector<Row> rows{
        // Nothing beside the exe, and nothing registered within the bounds.
        {notAHome, L"Minimum Version=8121\r\nMaximum Version=8121.9\r\n"},
        // A private runtime without the server JVM that is required.
        {RuntimeLayout{.jvmFolders = {L"client"}},
         L"JVM Type=server\r\nMinimum Version=8121\r\nMaximum Version=8121.9\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.lines));
        JavaApp app(row.jre64);
        ASSERT_TRUE(app.writeScript(JavaApp::script()));
        app.writeSettings({.runtimeLines = row.lines});
        int dialogs = 0;
        LaunchOptions options;
        // An OK posted to the dialog while no folder is chosen is no choice either.
        options.onDialog = [&dialogs](HWND dialog) {
            ++dialogs;
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return true;
        };
        const LaunchResult result = app.launch(options);
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(dialogs, 1);
        EXPECT_EQ(result.exitCode, kFailureExitCode);
        EXPECT_TRUE(result.messageBoxes.empty());
        EXPECT_FALSE(vmCreatedIn(app.runtimeHome));
    }
}

} // namespace
