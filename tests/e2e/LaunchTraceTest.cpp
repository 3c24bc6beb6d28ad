// The launch trace seen from outside: a launch with QOVA_LAUNCHER_TRACE set writes what it
// decided, and what the trace says is what the launcher then did: the runtime whose jvm.dll the
// test runtime saw loaded, the options the VM received, the arguments main received, the exit
// code the process ended with. A trace that cannot be written changes nothing.
#include "DialogDriving.h"
#include "JavaApp.h"
#include "MessageBoxes.h"
#include "ScopedRegistryKey.h"
#include "StampedCopy.h"
#include "TestedBuild.h"
#include "TraceFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <thread>

using namespace testjvm;

namespace {

constexpr DWORD kFailureExitCode = 4294967295u;
constexpr wchar_t kSunRuntimeKey[] = L"Software\\JavaSoft\\Java Runtime Environment\\";
constexpr wchar_t kSunKitKey[] = L"Software\\JavaSoft\\Java Development Kit\\";
constexpr wchar_t kJre[] = L"Java Runtime Environment";
// Nothing beside the exe: jre64 exists but is no runtime home.
const RuntimeLayout notAHome{.javaLibrary = false};

LaunchOptions tracedTo(const std::wstring& traceFile, LaunchOptions options = {}) {
    options.environment[L"QOVA_LAUNCHER_TRACE"] = traceFile;
    return options;
}

bool samePath(std::wstring a, std::wstring b) {
    CharLowerBuffW(a.data(), static_cast<DWORD>(a.size()));
    CharLowerBuffW(b.data(), static_cast<DWORD>(b.size()));
    return a == b;
}

std::string utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                        size, nullptr, nullptr);
    return bytes;
}

// What every trace of one launch must be: well formed, from its start line to an exit line
// that names the exit code the process really ended with, in time order.
void expectCompleteTrace(const Trace& trace, DWORD exitCode) {
    for (const std::string& problem : trace.problems)
        ADD_FAILURE() << problem;
    ASSERT_FALSE(trace.events.empty());
    EXPECT_EQ(trace.events.front()["ev"], L"start");
    EXPECT_EQ(trace.of("start").size(), 1u);
    EXPECT_EQ(trace.events.back()["ev"], L"exit");
    EXPECT_EQ(trace.events.back()["code"], std::to_wstring(exitCode));
    long long previous = -1;
    for (const TraceEvent& event : trace.events) {
        const long long us = std::stoll(event["us"]);
        EXPECT_GE(us, previous) << narrow(event["ev"]);
        previous = us;
    }
}

// The (section, key) settings events, first read of each.
std::map<std::pair<std::wstring, std::wstring>, TraceEvent> settingsOf(const Trace& trace) {
    std::map<std::pair<std::wstring, std::wstring>, TraceEvent> settings;
    for (const TraceEvent& event : trace.of("setting"))
        settings.emplace(std::make_pair(event["section"], event["key"]), event);
    return settings;
}

// The first read of a key of [Java Runtime Environment]; no fields when it was never read.
TraceEvent settingOf(const Trace& trace, const std::wstring& key) {
    const auto settings = settingsOf(trace);
    const auto found = settings.find({kJre, key});
    return found == settings.end() ? TraceEvent{} : found->second;
}

// The one jvm.dll the runtime in `home` recorded as loaded, if any.
std::wstring loadedModule(const std::wstring& home) {
    const auto record = readRecord(home);
    return record && !record->loadedModules.empty() ? record->loadedModules.front() : L"";
}

// Leaves the trace, with texts its account must hold, for the test of scripts/explain.py.
void keepForExplain(const std::wstring& traceFile, const std::wstring& name,
                    const std::vector<std::wstring>& accountHolds) {
    const std::wstring folder = testProgramFolder() + L"\\traces";
    createFolders(folder);
    CopyFileW(traceFile.c_str(), (folder + L"\\" + name + L".trace").c_str(), FALSE);
    std::string expected;
    for (const std::wstring& text : accountHolds)
        expected += utf8(text) + "\n";
    writeBytesFile(folder + L"\\" + name + L".expect", expected);
}

// A runtime home the launcher may pick, with a script whose main class exists.
std::wstring runtimeWithScript(const std::wstring& folder, const RuntimeLayout& layout = {}) {
    const std::wstring home = layOutRuntime(folder, layout);
    if (!home.empty() && !writeScript(home, JavaApp::script()))
        return {};
    return home;
}

TEST(LaunchTrace, EachSettingNamesTheSourceItCameFrom) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    ASSERT_TRUE(stampEmbeddedSettings(app.app, "[Java Runtime Environment]\n"
                                               "Main Class=com.example.App\n"
                                               "Minimum Version=1.1\n"
                                               "Virtual Machine Parameters=-Dfrom=embedded\n"
                                               "[Class Path]\n"
                                               "Class Path=\\lib\\*.jar\n"
                                               "[Application]\n"
                                               "Cmd=--embedded\n"
                                               "[Product Information]\n"
                                               "Upgrade Code={EMBEDDED}\n"
                                               "[Display]\n"
                                               "Splash Screen Shadow=true\n"));
    // The per-user file remembers the runtime beside the exe as the runtime folder.
    TempFolder appData;
    createFolders(appData.file(L"Viewer\\{0A1B}"));
    const std::wstring userFile = appData.file(L"Viewer\\{0A1B}\\app.ini");
    writeUtf16File(userFile, L"[Java Runtime Environment]\r\nJRE Path=" + app.runtimeHome + L"\r\n");
    app.app.writeSettings(L"[Product Information]\r\nProduct Name=Viewer\r\nProduct Code={0A1B}\r\n"
                          L"[Java Runtime Environment]\r\nMinimum Version=1.2\r\n"
                          L"[Java Runtime Environment+]\r\n"
                          L"Virtual Machine Parameters=-Dfrom=file\r\nSystem Path=C:\\Tools\r\n");
    TempFolder traces;
    const std::wstring traceFile = traces.file(L"launch.trace");
    const LaunchResult result =
        app.launch(tracedTo(traceFile, {.environment = {{L"APPDATA", appData.path()}}}));
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_TRUE(result.messageBoxes.empty());

    const Trace trace = readTrace(traceFile);
    expectCompleteTrace(trace, 0);
    struct Row {
        const wchar_t* section;
        const wchar_t* key;
        std::wstring value;
        const wchar_t* source;
    };
    const Row rows[] = {
        {kJre, L"Main Class", L"com.example.App", L"embedded"},
        {kJre, L"Minimum Version", L"1.2", L"file"},
        {kJre, L"Virtual Machine Parameters", L"-Dfrom=embedded -Dfrom=file",
         L"embedded+plus-section"},
        {kJre, L"System Path", L" C:\\Tools", L"plus-section"},
        {kJre, L"JRE Path", app.runtimeHome, L"user-file"},
        {kJre, L"JVM Type", L"", L"default"},
        {L"Product Information", L"Product Name", L"Viewer", L"file"},
        {L"Product Information", L"Upgrade Code", L"{EMBEDDED}", L"embedded"},
        {L"Display", L"Splash Screen Shadow", L"true", L"embedded"},
        {L"Application", L"Cmd", L"--embedded", L"embedded"},
    };
    const auto settings = settingsOf(trace);
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.key));
        const auto found = settings.find({row.section, row.key});
        ASSERT_NE(found, settings.end());
        EXPECT_EQ(found->second["value"], row.value);
        EXPECT_EQ(found->second["source"], row.source);
    }
    const auto userFiles = trace.of("user-settings-file");
    ASSERT_EQ(userFiles.size(), 1u);
    EXPECT_TRUE(samePath(userFiles.front()["file"], userFile));
    EXPECT_EQ(userFiles.front()["exists"], L"true");
    EXPECT_NE(trace.first("settings-file", "embedded-sections"), L"0");

    // What the launcher then did with them.
    const Record record = app.record();
    const std::vector<std::wstring> options = record.optionTexts();
    ASSERT_GE(options.size(), 3u);
    EXPECT_EQ(options[1], L"-Dfrom=embedded");
    EXPECT_EQ(options[2], L"-Dfrom=file");
    ASSERT_EQ(record.callsOf(L"main").size(), 1u);
    EXPECT_EQ(record.callsOf(L"main").front()->arguments, std::vector<std::wstring>{L"--embedded"});
    EXPECT_EQ(trace.first("chosen", "from"), L"jre-path");
    EXPECT_TRUE(samePath(trace.first("chosen", "jvm"), loadedModule(app.runtimeHome)));
    keepForExplain(traceFile, L"settings",
                   {L"Main Class = com.example.App (embedded settings)",
                    L"JRE Path = " + app.runtimeHome + L" (per-user file)",
                    L"System Path = \" C:\\Tools\" (settings file, \"+\" section)",
                    L"Chosen: " + trace.first("chosen", "jvm") + L" (jre-path)"});
}

TEST(LaunchTrace, RegistrySearchNamesEveryCandidateWithItsVerdictAndLoadsTheChosenOne) {
    JavaApp app(notAHome);
    const std::wstring older = runtimeWithScript(app.app.file(L"installed\\8130.1"));
    const std::wstring newer = runtimeWithScript(app.app.file(L"installed\\8130.2"));
    const std::wstring above = runtimeWithScript(app.app.file(L"installed\\8130.5"));
    const std::wstring below = runtimeWithScript(app.app.file(L"installed\\8129.9"));
    const std::wstring noJvm = layOutRuntime(app.app.file(L"installed\\8130.4"), {.jvmFolders = {}});
    const std::wstring kit =
        runtimeWithScript(app.app.file(L"kit"), {.developmentKit = true});
    ASSERT_FALSE(older.empty() || newer.empty() || above.empty() || below.empty() ||
                 noJvm.empty() || kit.empty());
    const std::wstring sun = kSunRuntimeKey;
    constexpr bool view = tested::kOwnRegistryViewIs32Bit;
    const ScopedRegistryKey keys[] = {
        {sun + L"8130.1", view, JavaHomeValue{older}},
        {sun + L"8130.2", view, JavaHomeValue{newer}},
        {sun + L"8130.5", view, JavaHomeValue{above}},
        {sun + L"8129.9", view, JavaHomeValue{below}},
        {sun + L"8130.3", view, std::nullopt},
        {sun + L"8130.4", view, JavaHomeValue{noJvm}},
        {std::wstring(kSunKitKey) + L"8130.3", view, JavaHomeValue{app.app.file(L"kit")}},
    };
    for (const ScopedRegistryKey& key : keys)
        ASSERT_TRUE(key.created());
    const std::map<std::wstring, std::wstring> verdicts = {
        {L"8130.1", L"kept"},          {L"8130.2", L"kept"},
        {L"8130.5", L"above-maximum"}, {L"8129.9", L"below-minimum"},
        {L"8130.3", L"no-java-home"},  {L"8130.4", L"no-jvm-library"},
    };

    struct Row {
        const wchar_t* preferred;
        std::wstring loaded;
        std::wstring notLoaded;
    };
    for (const Row& row : {Row{L"", newer, older}, Row{L"8130.1", older, newer}}) {
        SCOPED_TRACE(narrow(row.preferred));
        clearRecord(older);
        clearRecord(newer);
        app.writeSettings({.runtimeLines = L"JVM Source=only_JRE\r\nMinimum Version=8130\r\n"
                                           L"Maximum Version=8130.4\r\nPreferred versions=" +
                                           std::wstring(row.preferred) + L"\r\n"});
        TempFolder traces;
        const std::wstring traceFile = traces.file(L"launch.trace");
        const LaunchResult result = app.launch(tracedTo(traceFile));
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
        const Trace trace = readTrace(traceFile);
        expectCompleteTrace(trace, 0);

        // Every registration of ours, with its verdict, and only from the runtime family.
        std::map<std::wstring, std::wstring> seen;
        for (const TraceEvent& event : trace.of("runtime", "from", L"registry")) {
            if (verdicts.count(event["name"])) {
                EXPECT_EQ(event["kind"], L"JRE") << narrow(event["name"]);
                seen[event["name"]] = event["verdict"];
            }
        }
        EXPECT_EQ(seen, verdicts);
        // The kit family is not even searched under "only_JRE"; other providers never are.
        const std::map<std::wstring, std::wstring> families = {
            {std::wstring(kSunKitKey), L"kind-not-wanted"},
            {sun, L"searched"},
            {L"Software\\JRockit\\Java Runtime Environment\\", L"provider-not-accepted"},
            {L"Software\\JRockit\\Java Development Kit\\", L"provider-not-accepted"},
            {L"Software\\IBM\\Java2 Runtime Environment\\", L"provider-not-accepted"},
        };
        std::map<std::wstring, std::wstring> familiesSeen;
        for (const TraceEvent& event : trace.of("family"))
            familiesSeen[event["key"]] = event["verdict"];
        EXPECT_EQ(familiesSeen, families);

        // Ordered newer first; the pick says whether a preferred version made it.
        std::vector<std::wstring> order;
        for (const TraceEvent& event : trace.of("order"))
            if (samePath(event["home"], older) || samePath(event["home"], newer))
                order.push_back(event["version"]);
        EXPECT_EQ(order, (std::vector<std::wstring>{L"8130.2", L"8130.1"}));
        const auto picks = trace.of("pick");
        ASSERT_EQ(picks.size(), 1u);
        EXPECT_TRUE(samePath(picks.front()["home"], row.loaded));
        EXPECT_EQ(picks.front().has("preferred"), *row.preferred != L'\0');
        EXPECT_EQ(picks.front()["preferred"], row.preferred);

        // The runtime the trace names is the one whose jvm.dll was loaded.
        EXPECT_EQ(trace.first("chosen", "from"), L"registry");
        EXPECT_TRUE(samePath(trace.first("chosen", "jvm"), loadedModule(row.loaded)))
            << narrow(trace.first("chosen", "jvm"));
        EXPECT_FALSE(readRecord(row.notLoaded));
        keepForExplain(traceFile, *row.preferred ? L"registry-preferred" : L"registry",
                       {L"8130.5 above Maximum Version 8130.4",
                        L"8129.9 below Minimum Version 8130",
                        L"Sun JRE 8130.3 has no JavaHome",
                        L"Sun JDK family not wanted by JVM Source only_JRE",
                        L"Chosen: " + trace.first("chosen", "jvm") + L" (registry)",
                        L"Outcome: exit code 0"});
    }
}

TEST(LaunchTrace, TodaysDistributionsAreNamedWithTheirVerdictsFromEachHive) {
    JavaApp app(notAHome);
    const std::wstring machine = runtimeWithScript(app.app.file(L"installed\\jdk"));
    ASSERT_FALSE(machine.empty());
    // The other architecture's runtime, registered by a per-user installer: this launcher's
    // view leaves it to the other one's.
    createFolders(app.app.file(L"installed\\zulu\\bin\\server"));
    ASSERT_TRUE(writeOtherArchitectureLibrary(app.app.file(L"installed\\zulu\\bin\\server\\jvm.dll")));
    createFolders(app.app.file(L"installed\\empty"));
    constexpr bool view = tested::kOwnRegistryViewIs32Bit;
    const ScopedRegistryKey keys[] = {
        {HKEY_LOCAL_MACHINE, L"Software\\Eclipse Adoptium\\JDK\\8175.0.1\\hotspot\\MSI", view,
         L"Path", JavaHomeValue{app.app.file(L"installed\\jdk")}},
        {HKEY_LOCAL_MACHINE, L"Software\\JavaSoft\\JDK\\8175.9.1", view, L"JavaHome",
         JavaHomeValue{app.app.file(L"installed\\jdk")}},
        {HKEY_LOCAL_MACHINE, L"Software\\JavaSoft\\JDK\\8175.0.3", view, L"JavaHome",
         JavaHomeValue{app.app.file(L"installed\\empty")}},
        {HKEY_CURRENT_USER, L"Software\\Azul Systems\\Zulu\\zulu-8175.2", view,
         L"InstallationPath", JavaHomeValue{app.app.file(L"installed\\zulu")}},
    };
    for (const ScopedRegistryKey& key : keys)
        ASSERT_TRUE(key.created());
    app.writeSettings({.runtimeLines = L"Minimum Version=8175\r\nMaximum Version=8175.5\r\n"});
    TempFolder traces;
    const std::wstring traceFile = traces.file(L"launch.trace");
    const LaunchResult result = app.launch(tracedTo(traceFile));
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    const Trace trace = readTrace(traceFile);
    expectCompleteTrace(trace, 0);

    struct Row {
        const wchar_t* from;
        const wchar_t* name;
        const wchar_t* kind;
        const wchar_t* verdict;
    };
    const Row rows[] = {
        {L"current", L"8175.0.1", L"JDK", L"kept"},
        {L"current", L"8175.9.1", L"JDK", L"above-maximum"},
        {L"current", L"8175.0.3", L"JDK", L"no-jvm-library"},
        {L"current-user", L"zulu-8175.2", L"JDK", L"other-architecture"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.name));
        const auto seen = trace.of("runtime", "name", row.name);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen.front()["from"], row.from);
        EXPECT_EQ(seen.front()["kind"], row.kind);
        EXPECT_EQ(seen.front()["provider"], L"Sun");
        EXPECT_EQ(seen.front()["verdict"], row.verdict);
    }
    // Each library found names its machine: this launcher's, or its pair's.
    const std::wstring ownMachine = tested::kBuild == LauncherBuild::x64   ? L"x64"
                                    : tested::kBuild == LauncherBuild::x86 ? L"x86"
                                                                           : L"arm64";
    const std::wstring pairedMachine = tested::kBuild == LauncherBuild::x64 ? L"x86" : L"x64";
    EXPECT_EQ(trace.of("runtime", "name", L"8175.0.1").at(0)["machine"], ownMachine);
    EXPECT_EQ(trace.of("runtime", "name", L"zulu-8175.2").at(0)["machine"], pairedMachine);
    EXPECT_EQ(trace.first("chosen", "from"), L"current");
    EXPECT_TRUE(samePath(trace.first("chosen", "jvm"), loadedModule(machine)));
    keepForExplain(traceFile, L"current",
                   {L"Sun JDK zulu-8175.2 is built for " + pairedMachine,
                    L"Sun JDK 8175.9.1 above Maximum Version 8175.5",
                    L"Chosen: " + trace.first("chosen", "jvm") + L" (current)"});
}

TEST(LaunchTrace, OptionsArgumentsAndEnvironmentAreWhatTheVmAndMainReceived) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    // A quoted option, a reference, a percentage size and a character no ANSI code page of
    // the test machine holds: the trace must show what the VM got, not what was written.
    app.writeSettings({.vmParameters = L" -Dname=\"a b\" -Dhome=%QOVA_TEST_HOME% -Xmx50P "
                                       L"-Dsnow=\u2603 ",
                       .runtimeLines = L"Library Path=C:\\Native;%QOVA_TEST_NATIVE%\r\n"
                                       L"System Path=C:\\Tools\r\n",
                       .applicationLines = L"Cmd=--mode \"two words\"\r\n"});
    TempFolder traces;
    const std::wstring traceFile = traces.file(L"launch.trace");
    const LaunchResult result = app.launch(
        tracedTo(traceFile, {.arguments = L"first \"caf\u00e9 \U0001F600\" \"\" quote\"d",
                             .environment = {{L"Path", L"C:\\windows\\system32;C:\\windows"},
                                             {L"QOVA_TEST_NATIVE", L"D:\\More"},
                                             {L"QOVA_TEST_HOME", L"D:\\Home"}}}));
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_TRUE(result.messageBoxes.empty());
    const Trace trace = readTrace(traceFile);
    expectCompleteTrace(trace, 0);
    const Record record = app.record();

    const auto options = trace.of("vm-option");
    ASSERT_EQ(options.size(), record.options.size());
    for (size_t i = 0; i < options.size(); ++i) {
        EXPECT_EQ(options[i]["index"], std::to_wstring(i));
        EXPECT_EQ(options[i]["text"], record.options[i].text);
        EXPECT_EQ(options[i]["hook"], record.options[i].hasExtraInfo ? L"true" : L"false");
    }
    std::vector<std::wstring> arguments;
    for (const TraceEvent& event : trace.of("main-arg"))
        arguments.push_back(event["text"]);
    ASSERT_EQ(record.callsOf(L"main").size(), 1u);
    EXPECT_EQ(arguments, record.callsOf(L"main").front()->arguments);
    EXPECT_EQ(arguments.size(), 6u);
    for (const wchar_t* name : {L"QOVA_JVM_PATH", L"QOVA_JVM_HOME", L"Path"}) {
        const auto set = trace.of("env", "name", name);
        ASSERT_EQ(set.size(), 1u) << narrow(name);
        EXPECT_EQ(std::optional<std::wstring>(set.front()["value"]),
                  record.environmentVariable(name));
    }
    EXPECT_TRUE(samePath(trace.first("chosen", "jvm"), loadedModule(app.runtimeHome)));
    EXPECT_EQ(settingOf(trace, L"Virtual Machine Parameters")["value"],
              L"-Dname=\"a b\" -Dhome=%QOVA_TEST_HOME% -Xmx50P -Dsnow=\u2603");
    keepForExplain(traceFile, L"options",
                   {L"VM options: \"" + record.options[0].text + L"\"; \"" +
                        record.options[1].text + L"\"; \"-Dname=a b\"; -Dhome=D:\\Home",
                    L"abort (hook); exit (hook)", L"Path=" + *record.environmentVariable(L"Path"),
                    L"Main: com/example/App with 6 arguments"});
}

TEST(LaunchTrace, MainClassFromAJarsManifestNamesTheJarAndTheOptionsItAdds) {
    JavaApp app;
    const std::wstring jar = app.app.besideExe(L"viewer.jar");
    ASSERT_TRUE(CopyFileW((testProgramFolder() + L"\\e2e-data\\executable.jar").c_str(),
                          jar.c_str(), FALSE));
    Script script;
    script.classes.push_back(JavaClass(JavaApp::kMainClass, {kMainMethod}, {}, L"\\viewer.jar"));
    ASSERT_TRUE(app.writeScript(script));
    app.writeSettings({.mainClass = L"", .runtimeLines = L"Main Jar=\\viewer.jar\r\n"});
    TempFolder traces;
    const std::wstring traceFile = traces.file(L"launch.trace");
    const LaunchResult result = app.launch(tracedTo(traceFile));
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    const Trace trace = readTrace(traceFile);
    expectCompleteTrace(trace, 0);

    const auto chosen = trace.of("main-class");
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen.front()["name"], JavaApp::kMainClass);
    EXPECT_EQ(chosen.front()["origin"], L"manifest");
    EXPECT_EQ(trace.first("manifest", "jar"), jar);
    std::vector<std::wstring> added;
    for (const TraceEvent& event : trace.of("manifest-option", "jar", jar))
        added.push_back(event["text"]);
    EXPECT_EQ(added, (std::vector<std::wstring>{L"--add-opens=java.base/java.lang=ALL-UNNAMED",
                                                 L"--add-opens=java.desktop/sun.awt=ALL-UNNAMED"}));
    keepForExplain(traceFile, L"manifest",
                   {L"Manifest of " + jar + L" read, adding --add-opens=java.base/java.lang=ALL-UNNAMED",
                    L"Main class: com/example/App (from the jar's manifest)"});
}

TEST(LaunchTrace, TraceThatCannotBeWrittenChangesNothing) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    app.writeSettings({.vmParameters = L"-Dx=1", .applicationLines = L"Cmd=--from-cmd\r\n"});
    const LaunchResult reference = app.launch({.arguments = L"a b"});
    ASSERT_EQ(reference.exitCode, 0u);
    const Record expected = app.record();

    TempFolder place;
    const std::wstring readOnly = place.file(L"read-only.trace");
    writeBytesFile(readOnly, "");
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::wstring locked = place.file(L"locked.trace");
    // Held open without sharing, as another program that writes the file might.
    const HANDLE lockedHandle = CreateFileW(locked.c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lockedHandle, INVALID_HANDLE_VALUE);
    const std::wstring rows[] = {
        place.path(),                          // a folder
        place.file(L"missing\\launch.trace"),  // in a folder that does not exist
        readOnly,                              // a file this user may not write
        locked,                                // a file another program holds
        place.file(L"bad<name>.trace"),        // a name Windows refuses
        L"",                                   // set, but empty
    };
    for (const std::wstring& traceFile : rows) {
        SCOPED_TRACE(narrow(traceFile));
        clearRecord(app.runtimeHome);
        const LaunchResult result = app.launch(tracedTo(traceFile, {.arguments = L"a b"}));
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_TRUE(result.messageBoxes.empty());
        const Record record = app.record();
        EXPECT_EQ(record.optionTexts(), expected.optionTexts());
        ASSERT_EQ(record.callsOf(L"main").size(), 1u);
        EXPECT_EQ(record.callsOf(L"main").front()->arguments,
                  expected.callsOf(L"main").front()->arguments);
    }
    CloseHandle(lockedHandle);
    EXPECT_EQ(GetFileAttributesW(place.file(L"missing").c_str()), INVALID_FILE_ATTRIBUTES);
    // Wine lets its administrator write a read-only file: the launch was the same, and only
    // where this test may not write the file either must the launcher have left it alone.
    const HANDLE readOnlyHandle = CreateFileW(readOnly.c_str(), FILE_APPEND_DATA, 0, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (readOnlyHandle == INVALID_HANDLE_VALUE)
        EXPECT_EQ(readBytesFile(readOnly), "");
    else
        CloseHandle(readOnlyHandle);
    EXPECT_EQ(readBytesFile(locked), "");
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

struct StageCase {
    const char* name;
    RuntimeLayout layout;
    AppSettings settings;
    Script script;
    const wchar_t* failedStage; // the stage whose ok is false; nullptr when none fails
    DWORD exitCode;
    std::function<void(const Trace&)> check;
    std::wstring explained; // what the account's outcome says
};

TEST(LaunchTrace, EachStageThatEndsTheLaunchSaysSoAndTheExitCodeFollows) {
    const auto outcome = [](const wchar_t* main) {
        return [main](const Trace& trace) {
            std::vector<std::wstring> outcomes;
            for (const TraceEvent& event : trace.of("main"))
                outcomes.push_back(event["outcome"]);
            EXPECT_EQ(outcomes.empty() ? L"" : outcomes.back(), main);
        };
    };
    Script vmFails = JavaApp::script();
    vmFails.createResult = JNI_ENOMEM;
    const StageCase cases[] = {
        {"no main class",
         {},
         {.mainClass = L""},
         JavaApp::script(),
         L"settings",
         kFailureExitCode,
         [](const Trace& trace) {
             EXPECT_EQ(settingOf(trace, L"Main Class")["source"], L"default");
         },
         L"the settings stage failed: Main Class is not set"},
        {"no runtime, and the dialog that asks for one cancelled",
         notAHome,
         {.runtimeLines = L"Minimum Version=8132\r\nMaximum Version=8132.9\r\n"},
         JavaApp::script(),
         L"runtime",
         kFailureExitCode,
         [](const Trace& trace) {
             EXPECT_EQ(trace.first("dialog", "result"), L"cancel");
             EXPECT_EQ(trace.first("runtime", "verdict"), L"no-runtime-home");
             EXPECT_TRUE(trace.of("chosen").empty());
         },
         L"no runtime qualified and the missing-runtime dialog ended with cancel"},
        {"JVM library that does not load",
         {.jvmLibrary = JvmLibrary::MissingDependency},
         {},
         JavaApp::script(),
         L"jvm-library",
         kFailureExitCode,
         [](const Trace& trace) {
             EXPECT_EQ(trace.first("jvm-library", "loaded"), L"false");
             EXPECT_EQ(trace.first("jvm-library", "error"), L"126");
         },
         L"(error 126: the library or one it needs is missing)"},
        {"class path that comes out empty",
         {},
         {.classPath = L"\\lib\\none-*.jar"},
         JavaApp::script(),
         L"options",
         kFailureExitCode,
         [](const Trace& trace) {
             EXPECT_EQ(trace.first("jvm-library", "loaded"), L"true");
             EXPECT_TRUE(trace.of("vm-option").empty());
         },
         L"the options stage failed: the class path came out empty"},
        {"VM not created",
         {},
         {},
         vmFails,
         L"vm",
         kFailureExitCode,
         [](const Trace& trace) { EXPECT_EQ(trace.first("vm", "result"), L"-4"); },
         L"JNI_CreateJavaVM returned -4 (not enough memory)"},
        // The VM aborts inside JNI_CreateJavaVM, which never returns: no stage says how it
        // ended, the abort and the launcher's exit code do.
        {"VM aborted while created",
         {},
         {.mainClass = L"", .runtimeLines = L"Main Module=ghost\r\nModule Path=\\mods\r\n"},
         JavaApp::script(),
         nullptr,
         kFailureExitCode,
         [](const Trace& trace) { EXPECT_EQ(trace.of("exit", "by", L"abort").size(), 1u); },
         L"(the VM aborted while it was created)"},
        {"main class missing",
         {},
         {.mainClass = L"com.example.Missing"},
         JavaApp::script(),
         L"main",
         kFailureExitCode,
         outcome(L"class-not-found"),
         L"the main stage failed: com/example/Missing class not found"},
        {"exception escaping main",
         {},
         {},
         JavaApp::script({Action::throwException(L"java/lang/IllegalStateException: broken")}),
         nullptr,
         0,
         outcome(L"exception"),
         L"an exception escaped main"},
        {"System.exit",
         {},
         {},
         JavaApp::script({Action::exit(3)}),
         nullptr,
         3,
         [](const Trace& trace) {
             EXPECT_EQ(trace.events.back()["by"], L"System.exit");
             EXPECT_TRUE(trace.of("exit", "by", L"launcher").empty());
         },
         L"exit code 3 through System.exit"},
    };
    int number = 0;
    for (const StageCase& c : cases) {
        SCOPED_TRACE(c.name);
        JavaApp app(c.layout);
        app.writeSettings(c.settings);
        ASSERT_TRUE(app.writeScript(c.script));
        TempFolder traces;
        const std::wstring traceFile = traces.file(L"launch.trace");
        LaunchOptions options = tracedTo(traceFile);
        options.onDialog = [](HWND dialog) {
            if (windowCaption(dialog) != L"JRE Not Found")
                return false;
            pressButton(dialog, IDCANCEL);
            return true;
        };
        const LaunchResult result = app.launch(options);
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, c.exitCode);
        const Trace trace = readTrace(traceFile);
        expectCompleteTrace(trace, c.exitCode);

        // The failing stage is the last one: nothing after it ran.
        const auto stages = trace.of("stage");
        const auto failed = std::find_if(stages.begin(), stages.end(), [](const TraceEvent& e) {
            return e["ok"] == L"false";
        });
        if (c.failedStage) {
            ASSERT_NE(failed, stages.end());
            EXPECT_EQ((*failed)["stage"], c.failedStage);
            for (auto later = failed + 1; later != stages.end(); ++later)
                EXPECT_TRUE((*later).has("result")) << narrow((*later)["stage"]);
        } else {
            EXPECT_EQ(failed, stages.end()) << narrow((*failed)["stage"]);
        }
        c.check(trace);
        keepForExplain(traceFile, L"stage-" + std::to_wstring(++number), {c.explained});
    }
}

TEST(LaunchTrace, ThirtyTwoBitRuntimeIsHandedToThePairedLauncher) {
    if (!tested::kHandsOverToPairedProduct)
        GTEST_SKIP() << "only the 64-bit launcher hands a launch over";
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    createFolders(app.app.file(L"rt32\\bin\\server"));
    ASSERT_TRUE(writeOtherArchitectureLibrary(app.app.file(L"rt32\\bin\\server\\jvm.dll")));
    // A paired launcher that is not there: the hand-over cannot start it and ends with 0.
    app.writeSettings({.runtimeLines = L"JRE Path=" + app.app.file(L"rt32") + L"\r\n",
                       .applicationLines = L"Pair Product=" + app.app.file(L"absent32.exe") +
                                           L"\r\n"});
    TempFolder traces;
    const std::wstring traceFile = traces.file(L"launch.trace");
    const LaunchResult result = app.launch(tracedTo(traceFile));
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    const Trace trace = readTrace(traceFile);
    expectCompleteTrace(trace, 0);
    EXPECT_EQ(trace.first("architecture", "machine"), L"x86");
    EXPECT_EQ(trace.first("architecture", "hand-over"), L"true");
    EXPECT_EQ(trace.first("chosen", "paired"), L"true");
    EXPECT_EQ(trace.of("stage", "stage", L"paired-product-start").at(0)["ok"], L"false");
    EXPECT_TRUE(trace.of("jvm-library").empty());
    EXPECT_FALSE(readRecord(app.runtimeHome));
}

TEST(LaunchTrace, LaunchesSharingATraceFileKeepTheirLinesWhole) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    // Lines longer than any buffer a writer might split them at.
    app.writeSettings({.vmParameters = L"-Dlong=" + std::wstring(20000, L'x')});
    TempFolder traces;
    const std::wstring traceFile = traces.file(L"shared.trace");
    constexpr int kLaunches = 4;
    std::vector<std::thread> launches;
    std::vector<LaunchResult> results(kLaunches);
    for (int i = 0; i < kLaunches; ++i)
        launches.emplace_back([&, i] { results[i] = app.launch(tracedTo(traceFile)); });
    for (std::thread& launch : launches)
        launch.join();
    for (const LaunchResult& result : results)
        EXPECT_EQ(result.exitCode, 0u);

    const Trace trace = readTrace(traceFile);
    for (const std::string& problem : trace.problems)
        ADD_FAILURE() << problem.substr(0, 200);
    std::map<std::wstring, std::vector<TraceEvent>> byProcess;
    for (const TraceEvent& event : trace.events)
        byProcess[event["pid"]].push_back(event);
    ASSERT_EQ(byProcess.size(), static_cast<size_t>(kLaunches));
    std::set<size_t> lineCounts;
    for (const auto& [pid, events] : byProcess) {
        EXPECT_EQ(events.front()["ev"], L"start");
        EXPECT_EQ(events.back()["ev"], L"exit");
        EXPECT_EQ(events.back()["code"], L"0");
        lineCounts.insert(events.size());
    }
    EXPECT_EQ(lineCounts.size(), 1u) << "every launch wrote the same lines";
}

} // namespace
