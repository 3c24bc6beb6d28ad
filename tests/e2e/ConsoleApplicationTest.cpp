// A launcher copy stamped as a console program, run with pipes for its standard handles as a
// script runs a command-line tool: what the application and the launcher write arrives there,
// and the exit code is what java would give.
#include "ConsoleLaunch.h"
#include "JavaApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

using namespace testjvm;

namespace {

constexpr DWORD kFailureExitCode = 4294967295u;

// An application whose launcher copy is stamped as a console program.
struct ConsoleApp {
    explicit ConsoleApp(const RuntimeLayout& layout = {}) : java(layout) {}
    JavaApp java;
};

[[nodiscard]] bool prepare(const ConsoleApp& app, const Script& script,
                           const AppSettings& settings = {}) {
    app.java.writeSettings(settings);
    return app.java.writeScript(script) && stampSubsystem(app.java.app.exePath(), L"console");
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Faults caught: the VM given no standard handles (a windowed launcher's lot), input not
// reaching System.in, and System.exit's status lost on the way out.
TEST(ConsoleApplication, OutputAndInputGoThroughThePipesAndExitGivesTheStatus) {
    ConsoleApp app;
    ASSERT_TRUE(prepare(
        app, JavaApp::script({Action::printOut(L"hello from Java"), Action::printErr(L"a warning"),
                              Action::readLine(L"read: "), Action::exit(3)})));
    const ConsoleRun run = runInConsole(app.java.app.exePath(), {.input = "typed line\r\n"});
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 3u);
    EXPECT_EQ(run.out, "hello from Java\r\nread: typed line\r\n");
    EXPECT_EQ(run.err, "a warning\r\n");
}

// Faults caught: a message box that no script can read (the run would hang until the
// timeout), a message text that differs from the string table's, the missing-runtime message
// without the address to download from, and a failure reported as success.
TEST(ConsoleApplication, EveryFailureIsALineOnStandardErrorAndTheFailureCode) {
    const struct {
        const char* name;
        RuntimeLayout layout;
        Script script;
        std::string message;
    } rows[] = {
        {"missing runtime", RuntimeLayout{.javaLibrary = false}, JavaApp::script(),
         "The Java Runtime Environment (JRE) was not found. Please  download and install a JRE "
         "(latest version) from: https://jdk.java.net/\r\n"},
        {"missing main class", {}, Script{}, "Could not find the main class com/example/App.\r\n"},
        {"VM that fails to start",
         {},
         Script{.createResult = JNI_ENOMEM},
         "JNI exception: failed to create the Java VM\r\nReason: not enough memory.\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ConsoleApp app(row.layout);
        ASSERT_TRUE(prepare(app, row.script));
        const ConsoleRun run = runInConsole(app.java.app.exePath());
        ASSERT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, kFailureExitCode);
        EXPECT_TRUE(contains(run.err, row.message)) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

// Faults caught: the exception dialog opened on a console (the run would hang), the trace not
// printed, and the process ending with 0 where java ends with 1.
TEST(ConsoleApplication, UncaughtExceptionPrintsItsTraceAndEndsWithOne) {
    ConsoleApp app;
    ASSERT_TRUE(
        prepare(app,
                JavaApp::script({Action::throwException(L"java/lang/IllegalStateException: broken"),
                                 Action::cause(L"java/io/IOException: disk")}),
                {.applicationLines = L"Failure Check=Yes\r\n"}));
    const ConsoleRun run = runInConsole(app.java.app.exePath());
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_TRUE(contains(run.err, "Exception in thread \"main\" java.lang.IllegalStateException: "
                                  "broken\r\n\tat com.example.App.main(App.java)\r\n"))
        << run.err;
    EXPECT_TRUE(contains(run.err, "Caused by: java.io.IOException: disk\r\n")) << run.err;
}

// Faults caught: the launcher ending the process at Ctrl+C before the VM has run the
// application's shutdown hooks, and an exit code other than the VM's (130 for SIGINT).
TEST(ConsoleApplication, CtrlCRunsTheShutdownHooksAndEndsWithTheVmsCode) {
    ConsoleApp app;
    ASSERT_TRUE(prepare(app, JavaApp::script({Action::shutdownHook(L"cleaned up"),
                                              Action::printOut(L"ready"), Action::sleep(20000)})));
    const ConsoleRun run =
        runInConsole(app.java.app.exePath(), {.interruptWhenOutputHas = "ready\r\n"});
    ASSERT_FALSE(run.timedOut);
    ASSERT_TRUE(run.interrupted);
    EXPECT_EQ(run.exitCode, 130u);
    EXPECT_EQ(run.out, "ready\r\ncleaned up\r\n");
}

// Faults caught: a copy stamped back to windows keeping any console behaviour: its failure
// is a message box again.
TEST(ConsoleApplication, StampedBackToWindowsItBehavesAsBefore) {
    ConsoleApp app;
    ASSERT_TRUE(prepare(app, Script{}));
    ASSERT_TRUE(stampSubsystem(app.java.app.exePath(), L"windows"));
    const LaunchResult result = app.java.launch();
    EXPECT_EQ(result.exitCode, kFailureExitCode);
    EXPECT_EQ(result.messageTexts(),
              (std::vector<std::wstring>{L"Could not find the main class com/example/App.\n"}));
}

// The variables a child inherits, for the time of one test.
class ScopedEnvironment {
  public:
    explicit ScopedEnvironment(std::vector<std::pair<std::wstring, std::wstring>> variables)
        : variables_(std::move(variables)) {
        for (const auto& [name, value] : variables_)
            SetEnvironmentVariableW(name.c_str(), value.c_str());
    }
    ~ScopedEnvironment() {
        for (const auto& [name, value] : variables_)
            SetEnvironmentVariableW(name.c_str(), nullptr);
    }

  private:
    std::vector<std::pair<std::wstring, std::wstring>> variables_;
};

// Faults caught: the paired launcher given none of the console's handles (its output lost in
// a pipe), its exit code not passed on, and the launcher ending at Ctrl+C with the code of an
// interrupted program while the paired launcher was still finishing.
TEST(ConsoleApplication, PairedLauncherWritesToTheSamePipesAndItsCodeReachesTheCaller) {
    if (!tested::kHandsOverToPairedProduct)
        GTEST_SKIP() << "only the 64-bit launcher hands over";
    ConsoleApp app;
    ASSERT_TRUE(app.java.writeScript(JavaApp::script()));
    createFolders(app.java.app.file(L"rt\\bin\\server"));
    ASSERT_TRUE(writeOtherArchitectureLibrary(app.java.app.file(L"rt\\bin\\server\\jvm.dll")));
    const std::wstring probe = app.java.app.file(L"app32.exe");
    ASSERT_TRUE(
        CopyFileW((testProgramFolder() + L"\\paired_probe.exe").c_str(), probe.c_str(), FALSE));
    ASSERT_TRUE(
        prepare(app, JavaApp::script(),
                {.runtimeLines = L"JRE Path=" + app.java.app.file(L"rt") + L"\r\n",
                 .applicationLines = L"Pair Product=" + probe + L"\r\nPair Return Code=Yes\r\n"}));
    {
        const ScopedEnvironment environment(
            {{L"QOVA_PROBE_EXIT_CODE", L"5"}, {L"QOVA_PROBE_OUTPUT", L"from the paired launcher"}});
        const ConsoleRun run = runInConsole(app.java.app.exePath());
        ASSERT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, 5u);
        EXPECT_EQ(run.out, "from the paired launcher\r\n");
    }
    const ScopedEnvironment environment(
        {{L"QOVA_PROBE_OUTPUT", L"waiting"}, {L"QOVA_PROBE_WAIT_FOR_CTRL_C", L"1"}});
    const ConsoleRun run =
        runInConsole(app.java.app.exePath(), {.interruptWhenOutputHas = "waiting\r\n"});
    ASSERT_FALSE(run.timedOut);
    ASSERT_TRUE(run.interrupted);
    EXPECT_EQ(run.exitCode, 130u);
}

// Faults caught: a console second instance that starts a VM of its own instead of handing its
// arguments over, and its exit code not the first instance's answer.
TEST(ConsoleApplication, SecondInstanceHandsOverAndEndsWithTheAnswer) {
    ConsoleApp app;
    Script script = JavaApp::script({Action::printOut(L"first"), Action::waitFor(L"release")});
    script.classes.front().staticMethods.push_back(kSecondaryMainInt);
    script.secondaryMainActions = {Action::printArgs(L"out"), Action::returnValue(7)};
    ASSERT_TRUE(prepare(app, script, {.applicationLines = L"Single Instance=yes\r\n"}));
    ConsoleRun first;
    std::thread firstInstance([&] { first = runInConsole(app.java.app.exePath()); });
    for (int tries = 0; tries < 300; ++tries) {
        const auto waiting = app.java.record().gatesWaiting;
        if (std::find(waiting.begin(), waiting.end(), L"release") != waiting.end())
            break;
        Sleep(100);
    }
    const ConsoleRun second = runInConsole(app.java.app.exePath(), {.arguments = L"handed over"});
    writeBytesFile(app.java.runtimeHome + L"release", "");
    firstInstance.join();
    EXPECT_FALSE(second.timedOut);
    EXPECT_EQ(second.exitCode, 7u);
    EXPECT_EQ(second.out, "");
    ASSERT_FALSE(first.timedOut);
    EXPECT_EQ(first.exitCode, 0u);
    // The arguments reached the first instance, which prints in its own console's pipes.
    EXPECT_EQ(first.out, "first\r\nhanded\r\nover\r\n");
}

} // namespace
