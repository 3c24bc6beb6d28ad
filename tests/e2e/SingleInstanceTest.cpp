// Single-instance operation seen from outside: a first launch keeps running (its main waits
// for a file the test writes), later launches of the same exe hand their arguments to it and
// end with its answer. What secondaryMain received is read from the test runtime's record.
// Each test's exe lies in a fresh folder, so it has an instance name of its own.
#include "BackgroundLaunch.h"
#include "JavaApp.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <future>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

using namespace testjvm;

namespace {

constexpr DWORD kFailureExitCode = 4294967295u;
size_t threadCountOf(DWORD processId) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    size_t count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == processId)
            ++count;
    CloseHandle(snapshot);
    return count;
}

struct SingleInstanceApp {
    // com/example/App with main and the given static methods; main waits for "release".
    explicit SingleInstanceApp(std::vector<std::wstring> secondaryMethods,
                               std::vector<Action> secondaryActions = {},
                               const std::wstring& slashName = JavaApp::kMainClass,
                               const std::wstring& applicationLines = L"Single Instance=yes\r\n") {
        std::vector<std::wstring> methods{kMainMethod};
        methods.insert(methods.end(), secondaryMethods.begin(), secondaryMethods.end());
        script.classes.push_back(JavaClass(slashName, methods, {}, L"\\lib\\app.jar"));
        script.mainActions = {Action::waitFor(L"release")};
        script.secondaryMainActions = std::move(secondaryActions);
        std::wstring dotted = slashName;
        std::replace(dotted.begin(), dotted.end(), L'/', L'.');
        settings.mainClass = dotted;
        settings.applicationLines = applicationLines;
    }

    // Writes script and settings; call after changing them.
    bool write() {
        app.writeSettings(settings);
        return app.writeScript(script);
    }
    Record record() const { return app.record(); }
    void open(const wchar_t* gate) const { writeBytesFile(app.runtimeHome + gate, ""); }
    size_t calls(const wchar_t* method) const { return record().callsOf(method).size(); }
    bool waitingAt(const wchar_t* gate) const {
        const auto waiting = record().gatesWaiting;
        return std::find(waiting.begin(), waiting.end(), gate) != waiting.end();
    }

    JavaApp app;
    Script script;
    AppSettings settings;
};

std::vector<std::wstring> sorted(std::vector<std::wstring> texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

std::vector<std::wstring> argumentsOfEveryCall(const Record& record, const wchar_t* method) {
    std::vector<std::wstring> all;
    for (const JavaCall* call : record.callsOf(method))
        for (const std::wstring& argument : call->arguments)
            all.push_back(argument);
    return all;
}

TEST(SingleInstance, SecondLaunchEndsWithTheAnswerOfSecondaryMain) {
    struct Row {
        const char* name;
        std::wstring slashName;
        const wchar_t* method;
        std::vector<Action> actions;
        bool gated; // secondaryMain waits for "secondary" first
        std::wstring arguments;
        DWORD exitCode;
        std::vector<std::wstring> received;
    };
    const std::vector<Row> rows{
        {"void: answered before the call",
         JavaApp::kMainClass,
         kSecondaryMainVoid,
         {},
         true,
         L"one \"two three\"",
         0,
         {L"one", L"two three"}},
        {"int: answered after the call with its value",
         JavaApp::kMainClass,
         kSecondaryMainInt,
         {Action::returnValue(42)},
         true,
         L"x",
         42,
         {L"x"}},
        {"int: a negative value, and no arguments as one empty one",
         JavaApp::kMainClass,
         kSecondaryMainInt,
         {Action::returnValue(-2)},
         false,
         L"",
         4294967294u,
         {L""}},
        {"a main class beyond ASCII",
         L"com/ex\u00e4mple/\u00c4pp",
         kSecondaryMainVoid,
         {},
         false,
         L"\u00fc",
         0,
         {L"\u00fc"}},
        {"void: an exception in secondaryMain changes nothing",
         JavaApp::kMainClass,
         kSecondaryMainVoid,
         {Action::throwException(L"java.lang.IllegalStateException")},
         false,
         L"y",
         0,
         {L"y"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<Action> actions = row.actions;
        if (row.gated)
            actions.insert(actions.begin(), Action::waitFor(L"secondary"));
        SingleInstanceApp app({row.method}, actions, row.slashName);
        ASSERT_TRUE(app.write());
        BackgroundLaunch first(app.app);
        ASSERT_TRUE(waitUntil([&] { return app.calls(L"main") == 1; }));

        BackgroundLaunch second(app.app, row.arguments);
        if (row.gated) {
            ASSERT_TRUE(waitUntil([&] { return app.waitingAt(L"secondary"); }));
            if (std::wstring_view(row.method) == kSecondaryMainVoid) {
                // The void answer does not wait for secondaryMain to return.
                EXPECT_TRUE(second.ended(kWaitMs));
                EXPECT_TRUE(app.record().gatesPassed.empty());
            } else {
                EXPECT_FALSE(second.ended(1000));
            }
            app.open(L"secondary");
        }
        const LaunchResult secondResult = second.result();
        EXPECT_FALSE(secondResult.timedOut);
        EXPECT_EQ(secondResult.exitCode, row.exitCode);
        EXPECT_TRUE(secondResult.messageBoxes.empty());

        EXPECT_FALSE(first.ended());
        app.open(L"release");
        EXPECT_EQ(first.result().exitCode, 0u);

        const Record record = app.record();
        const auto calls = record.callsOf(L"secondaryMain");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0]->arguments, row.received);
        ASSERT_EQ(record.callsOf(L"main").size(), 1u);
        EXPECT_NE(calls[0]->threadId, record.callsOf(L"main")[0]->threadId);
        // The second launch loaded no runtime of its own.
        EXPECT_EQ(record.loads.size(), 1u);
        EXPECT_TRUE(record.violations.empty());
    }
}

TEST(SingleInstance, OnlyLowerCaseYesTurnsItOnAndNeverForAService) {
    struct Row {
        const wchar_t* lines;
        bool shared;
    };
    for (const Row row :
         {Row{L"Single Instance=yes\r\n", true}, Row{L"Single Instance=Yes\r\n", false},
          Row{L"Application Type=service\r\nSingle Instance=yes\r\n", false}}) {
        SCOPED_TRACE(narrow(row.lines));
        SingleInstanceApp app({kSecondaryMainVoid}, {}, JavaApp::kMainClass, row.lines);
        ASSERT_TRUE(app.write());
        BackgroundLaunch first(app.app);
        ASSERT_TRUE(waitUntil([&] { return app.calls(L"main") == 1; }));
        BackgroundLaunch second(app.app, L"again");
        ASSERT_TRUE(
            waitUntil([&] { return app.calls(L"main") + app.calls(L"secondaryMain") == 2; }));
        app.open(L"release");
        EXPECT_EQ(second.result().exitCode, 0u);
        EXPECT_EQ(first.result().exitCode, 0u);

        const Record record = app.record();
        EXPECT_EQ(record.callsOf(L"secondaryMain").size(), row.shared ? 1u : 0u);
        EXPECT_EQ(record.callsOf(L"main").size(), row.shared ? 1u : 2u);
        EXPECT_EQ(record.loads.size(), row.shared ? 1u : 2u);
    }
}

TEST(SingleInstance, ArgumentsFitIn1040EncodedBytes) {
    SingleInstanceApp app({kSecondaryMainVoid});
    ASSERT_TRUE(app.write());
    BackgroundLaunch first(app.app);
    ASSERT_TRUE(waitUntil([&] { return app.calls(L"main") == 1; }));

    // One argument of n characters takes 2n + 2 bytes, and the list ends with 2 more.
    const std::wstring fits(518, L'f');
    const std::wstring tooLong(519, L't');
    BackgroundLaunch refused(app.app, tooLong);
    const LaunchResult refusedResult = refused.result();
    EXPECT_EQ(refusedResult.exitCode, kFailureExitCode);
    EXPECT_TRUE(refusedResult.messageBoxes.empty());
    BackgroundLaunch accepted(app.app, fits);
    EXPECT_EQ(accepted.result().exitCode, 0u);

    app.open(L"release");
    EXPECT_EQ(first.result().exitCode, 0u);
    EXPECT_EQ(argumentsOfEveryCall(app.record(), L"secondaryMain"), std::vector{fits});
}

TEST(SingleInstance, WithoutSecondaryMainTheSecondLaunchEndsWithTheFirst) {
    // 259 is also what "still running" reads as: the wait must tell the two apart.
    for (const long long code : {7LL, 259LL}) {
        SCOPED_TRACE(code);
        SingleInstanceApp app({});
        app.script.mainActions.push_back(Action::exit(code));
        ASSERT_TRUE(app.write());
        BackgroundLaunch first(app.app);
        ASSERT_TRUE(waitUntil([&] { return app.calls(L"main") == 1; }));

        BackgroundLaunch second(app.app, L"unanswered");
        // The request was served as far as it goes: both forms were looked for and missed.
        ASSERT_TRUE(waitUntil([&] {
            const auto lookups = app.record().methodLookups;
            return std::any_of(lookups.begin(), lookups.end(), [](const std::wstring& lookup) {
                return lookup.find(L"secondaryMain([Ljava/lang/String;)I") != std::wstring::npos;
            });
        }));
        EXPECT_FALSE(second.ended(1000));
        app.open(L"release");
        EXPECT_EQ(first.result().exitCode, static_cast<DWORD>(code));
        const LaunchResult secondResult = second.result();
        EXPECT_FALSE(secondResult.timedOut);
        EXPECT_EQ(secondResult.exitCode, static_cast<DWORD>(code));
    }
}

// A request is read when it arrives, so each launch made while the first one is still
// starting delivers its own arguments once main has started.
TEST(SingleInstance, RequestsBeforeMainAreAnsweredOnceItHasStarted) {
    struct Row {
        const char* name;
        jint createResult;
        DWORD firstExitCode;
        DWORD secondExitCode;
    };
    for (const Row& row :
         {Row{"main starts", JNI_OK, 0, 0},
          Row{"the first launch gives up", JNI_ERR, kFailureExitCode, kFailureExitCode}}) {
        SCOPED_TRACE(row.name);
        SingleInstanceApp app({kSecondaryMainVoid});
        app.script.createWaitsFor = L"create";
        app.script.createResult = row.createResult;
        ASSERT_TRUE(app.write());
        BackgroundLaunch first(app.app);
        ASSERT_TRUE(waitUntil([&] { return app.waitingAt(L"create") && first.processId(); }));

        // Each request has reached the first launch when it has started a thread for it.
        std::vector<std::unique_ptr<BackgroundLaunch>> later;
        for (const wchar_t* argument : {L"one", L"two"}) {
            const size_t threads = threadCountOf(first.processId());
            later.push_back(std::make_unique<BackgroundLaunch>(app.app, argument));
            ASSERT_TRUE(waitUntil([&] { return threadCountOf(first.processId()) > threads; }));
        }
        Sleep(500);
        for (const auto& launch : later)
            EXPECT_FALSE(launch->ended());
        EXPECT_EQ(app.calls(L"secondaryMain"), 0u);

        app.open(L"create");
        for (const auto& launch : later) {
            const LaunchResult result = launch->result();
            EXPECT_FALSE(result.timedOut);
            EXPECT_EQ(result.exitCode, row.secondExitCode);
        }
        app.open(L"release");
        EXPECT_EQ(first.result().exitCode, row.firstExitCode);
        if (row.createResult == JNI_OK)
            EXPECT_EQ(sorted(argumentsOfEveryCall(app.record(), L"secondaryMain")),
                      (std::vector<std::wstring>{L"one", L"two"}));
    }
}

// Many launches at once against one first launch: each is answered, none hangs or crashes,
// and the first launch goes on running.
TEST(SingleInstance, TwentyLaterLaunchesAtOnce) {
    constexpr int kLaunches = 20;
    SingleInstanceApp app({kSecondaryMainInt}, {Action::sleep(20), Action::returnValue(7)});
    ASSERT_TRUE(app.write());
    BackgroundLaunch first(app.app);
    ASSERT_TRUE(waitUntil([&] { return app.calls(L"main") == 1; }));

    const auto start = std::chrono::steady_clock::now();
    std::vector<std::unique_ptr<BackgroundLaunch>> later;
    for (int i = 0; i < kLaunches; ++i)
        later.push_back(std::make_unique<BackgroundLaunch>(app.app, std::to_wstring(i)));
    for (const auto& launch : later) {
        const LaunchResult result = launch->result();
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 7u);
    }
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d later launches answered in %.1f s\n", kLaunches, seconds);

    EXPECT_FALSE(first.ended());
    EXPECT_EQ(app.calls(L"secondaryMain"), static_cast<size_t>(kLaunches));
    app.open(L"release");
    const LaunchResult firstResult = first.result();
    EXPECT_FALSE(firstResult.timedOut);
    EXPECT_EQ(firstResult.exitCode, 0u);
    EXPECT_TRUE(app.record().fatalErrors.empty());
}

} // namespace
