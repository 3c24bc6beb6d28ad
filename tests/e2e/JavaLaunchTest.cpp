// A Java application launched from end to end: the private runtime is loaded, the VM created
// with the composed options, main called with the arguments, and the process ends with the
// application's outcome.
#include "CommandLineCases.h"
#include "JavaApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace testjvm;

namespace {

constexpr DWORD kFailureExitCode = 4294967295u;

std::vector<std::wstring> mainArguments(const Record& record) {
    const auto calls = record.callsOf(L"main");
    return calls.empty() ? std::vector<std::wstring>{} : calls.front()->arguments;
}

// What any launch that got as far as the VM must leave behind: no broken JNI rule, every
// string buffer released.
void expectCleanJni(const Record& record) {
    EXPECT_TRUE(record.violations.empty()) << narrow(record.violations.front());
    EXPECT_TRUE(record.fatalErrors.empty());
    EXPECT_EQ(record.unreleasedStrings, 0);
}

TEST(JavaLaunch, CommandLineArgumentsThenCmdPiecesArriveInMain) {
    // "Cmd" pieces come after the command line's; its empty piece is dropped, while the
    // command line's own empty pieces are kept.
    const std::vector<std::wstring> cmdPieces = {L"--mode", L"two words", L"C:\\Temp"};
    std::vector<CommandLineCase> cases = commandLineCases();
    // Arguments travel as UTF-16 into Java: no code page stands in between.
    cases.push_back({L"caf\u00e9 \u0436\U0001F600", {L"caf\u00e9", L"\u0436\U0001F600"}});
    JavaApp app;
    app.writeSettings({.applicationLines = L"Cmd=--mode \"two words\" \"\" %QOVA_TEST_DIR%\r\n"});
    for (const CommandLineCase& c : cases) {
        SCOPED_TRACE(narrow(c.afterProgram));
        ASSERT_TRUE(app.writeScript(JavaApp::script({Action::printArgs()})));
        const LaunchResult result = app.launch(
            {.arguments = c.afterProgram, .environment = {{L"QOVA_TEST_DIR", L"C:\\Temp"}}});
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_TRUE(result.messageBoxes.empty());
        std::vector<std::wstring> expected = c.arguments;
        expected.insert(expected.end(), cmdPieces.begin(), cmdPieces.end());
        const Record record = app.record();
        EXPECT_EQ(mainArguments(record), expected);
        expectCleanJni(record);
    }
}

TEST(JavaLaunch, VmReceivesTheClassPathThenTheHooksOnTheJavaMainThread) {
    JavaApp app;
    app.writeSettings({.vmParameters = L"-Dapp.home=%QOVA_TEST_DIR% -Xmx64m"});
    Script script = JavaApp::script();
    script.defaultStackSize = 3 * 1048576;
    ASSERT_TRUE(app.writeScript(script));
    const LaunchResult result = app.launch({.environment = {{L"QOVA_TEST_DIR", L"D:\\Home"}}});
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);

    const Record record = app.record();
    EXPECT_EQ(record.version, JNI_VERSION_1_2);
    EXPECT_FALSE(record.ignoreUnrecognized);
    const std::vector<std::wstring> expected = {
        L"-Djava.class.path=" + app.app.file(JavaApp::kJar) + L";",
        L"-Dapp.home=D:\\Home",
        L"-Xmx64m",
        L"abort",
        L"exit",
    };
    EXPECT_EQ(record.optionTexts(), expected);
    ASSERT_EQ(record.options.size(), expected.size());
    for (size_t i = 0; i < record.options.size(); ++i)
        EXPECT_EQ(record.options[i].hasExtraInfo, i >= 3) << i;
    // Without "-Xss" the Java main thread gets the VM's default stack.
    EXPECT_EQ(record.defaultInitArgsVersions, std::vector<jint>{JNI_VERSION_1_1});
    EXPECT_EQ(record.createStackSize, 3u * 1048576);
    // main runs on the thread that created the VM, which then detached before destruction.
    ASSERT_EQ(record.callsOf(L"main").size(), 1u);
    EXPECT_EQ(record.callsOf(L"main").front()->threadId, record.createThreadId);
    EXPECT_NE(std::find(record.detached.begin(), record.detached.end(), record.createThreadId),
              record.detached.end());
    EXPECT_TRUE(record.destroyReturned);
    expectCleanJni(record);
}

TEST(JavaLaunch, DestroyWaitsForALiveNonDaemonThread) {
    JavaApp app;
    app.writeSettings();
    ASSERT_TRUE(
        app.writeScript(JavaApp::script({Action::thread(1500), Action::printOut(L"main done")})));
    const DWORD start = GetTickCount();
    const LaunchResult result = app.launch();
    const DWORD elapsed = GetTickCount() - start;
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_GE(elapsed, 1400u);
    const Record record = app.record();
    EXPECT_TRUE(record.destroyReturned);
    EXPECT_FALSE(record.destroyTimedOut);
    EXPECT_GE(record.destroyWaitMs, 500u);
    expectCleanJni(record);
}

TEST(JavaLaunch, SystemExitEndsTheProcessWithItsStatus) {
    JavaApp app;
    app.writeSettings();
    ASSERT_TRUE(app.writeScript(JavaApp::script({Action::exit(3)})));
    const LaunchResult result = app.launch();
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 3u);
    EXPECT_TRUE(result.messageBoxes.empty());
    const Record record = app.record();
    EXPECT_EQ(record.exitHookStatuses, std::vector<long long>{3});
    EXPECT_TRUE(record.exitHookReturned);
}

TEST(JavaLaunch, ExceptionEscapingMainIsDescribedAndTheApplicationGoesOn) {
    JavaApp app;
    app.writeSettings();
    ASSERT_TRUE(app.writeScript(
        JavaApp::script({Action::throwException(L"java/lang/IllegalStateException: broken"),
                         Action::cause(L"java/io/IOException: disk")})));
    const LaunchResult result = app.launch();
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_TRUE(result.messageBoxes.empty());
    const Record record = app.record();
    EXPECT_NE(record.standardError.find(L"java.lang.IllegalStateException: broken"),
              std::wstring::npos)
        << narrow(record.standardError);
    EXPECT_TRUE(record.destroyReturned);
    expectCleanJni(record);
}

struct MissingPieceCase {
    const char* name;
    std::wstring mainClass;
    std::vector<JavaClass> classes;
    std::vector<std::wstring> messages;
    const wchar_t* describedException;
};

TEST(JavaLaunch, MissingMainClassOrMethodEndsTheLaunchWithoutWaiting) {
    const MissingPieceCase cases[] = {
        {"class missing",
         L"com.example.Missing",
         {},
         {L"Could not find the main class com/example/Missing.\n"},
         L"NoClassDefFoundError"},
        // A VM reports the missing method itself; the launcher adds no message of its own.
        {"main with another signature",
         L"com.example.App",
         {JavaClass(JavaApp::kMainClass, {L"main()V"})},
         {},
         L"NoSuchMethodError"},
    };
    for (const MissingPieceCase& c : cases) {
        SCOPED_TRACE(c.name);
        JavaApp app;
        app.writeSettings({.mainClass = c.mainClass});
        Script script;
        script.classes = c.classes;
        // A Java main thread that ended still attached would hold the process this long.
        script.destroyTimeoutMs = 15000;
        ASSERT_TRUE(app.writeScript(script));
        const DWORD start = GetTickCount();
        const LaunchResult result = app.launch();
        ASSERT_FALSE(result.timedOut);
        EXPECT_LT(GetTickCount() - start, 10000u);
        EXPECT_EQ(result.exitCode, kFailureExitCode);
        EXPECT_EQ(result.messageTexts(), c.messages);
        const Record record = app.record();
        EXPECT_NE(record.standardError.find(c.describedException), std::wstring::npos)
            << narrow(record.standardError);
        EXPECT_TRUE(record.destroyReturned);
        EXPECT_FALSE(record.destroyTimedOut);
        EXPECT_TRUE(record.calls.empty());
        expectCleanJni(record);
    }
}

TEST(JavaLaunch, VmCreationFailureShowsTheReasonForItsCode) {
    const std::pair<jint, std::wstring> cases[] = {
        {JNI_ERR, L"unknown"},
        {JNI_EDETACHED, L"thread detached from VM"},
        {JNI_EVERSION, L"JNI version error"},
        {JNI_ENOMEM, L"not enough memory"},
        {JNI_EEXIST, L"VM already created"},
        {JNI_EINVAL, L"invalid arguments"},
        {-42, L""},
    };
    JavaApp app;
    app.writeSettings();
    for (const auto& [code, reason] : cases) {
        SCOPED_TRACE(code);
        Script script = JavaApp::script();
        script.createResult = code;
        ASSERT_TRUE(app.writeScript(script));
        const LaunchResult result = app.launch();
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, kFailureExitCode);
        EXPECT_EQ(result.messageTexts(),
                  std::vector<std::wstring>{
                      L"JNI exception: failed to create the Java VM\nReason: " + reason + L".\n"});
        EXPECT_TRUE(app.record().calls.empty());
    }
}

TEST(JavaLaunch, OptionTheVmRejectsFailsTheCreation) {
    JavaApp app;
    app.writeSettings({.vmParameters = L"-Xunknown"});
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    const LaunchResult result = app.launch();
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, kFailureExitCode);
    EXPECT_EQ(result.messageTexts(),
              std::vector<std::wstring>{
                  L"JNI exception: failed to create the Java VM\nReason: unknown.\n"});
}

struct LibraryCase {
    JvmLibrary library;
    std::wstring message; // {jvm} stands for the library's path
};

TEST(JavaLaunch, UnusableJvmLibraryIsReported) {
    const LibraryCase cases[] = {
        {JvmLibrary::MissingDependency, L"Failed to load Java VM library: {jvm} (errno = 126).\n"},
        {JvmLibrary::NoJniExports,
         L"Windows exception: cannot find CreateJavaVM JNI (errno = 127).\n"},
        {JvmLibrary::CreateOnly,
         L"Windows exception: cannot find CreateJavaVM JNI (errno = 127).\n"},
    };
    for (const LibraryCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.library));
        JavaApp app({.jvmLibrary = c.library});
        app.writeSettings();
        ASSERT_TRUE(app.writeScript(JavaApp::script()));
        const LaunchResult result = app.launch();
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, kFailureExitCode);
        std::wstring message = c.message;
        if (const size_t at = message.find(L"{jvm}"); at != std::wstring::npos)
            message.replace(at, 5, jvmLibraryOf(app.runtimeHome));
        EXPECT_EQ(result.messageTexts(), std::vector<std::wstring>{message});
    }
}

TEST(JavaLaunch, EmptyClassPathEndsTheLaunchBeforeTheVm) {
    JavaApp app;
    app.writeSettings({.classPath = L"\\nothing\\*.jar;\\missing.jar"});
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    const LaunchResult result = app.launch();
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, kFailureExitCode);
    EXPECT_EQ(result.messageTexts(),
              std::vector<std::wstring>{L"Java Class Path was not specified in INI file."});
    EXPECT_EQ(app.record().createCalls, 0);
}

TEST(JavaLaunch, EmbeddedJarAloneIsAClassPath) {
    JavaApp app;
    app.writeSettings({.classPath = L"", .applicationLines = L"Embedded Jar=yes\r\n"});
    Script script;
    script.classes.push_back(JavaClass(JavaApp::kMainClass, {kMainMethod}, {}, L"\\app.exe"));
    ASSERT_TRUE(app.writeScript(script));
    const LaunchResult result = app.launch();
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_TRUE(result.messageBoxes.empty());
    const Record record = app.record();
    ASSERT_FALSE(record.options.empty());
    EXPECT_EQ(record.optionTexts().front(), L"-Djava.class.path=" + app.app.exePath() + L";");
    EXPECT_EQ(record.callsOf(L"main").size(), 1u);
}

TEST(JavaLaunch, AcceptedProviderKeepsTheMainThreadAfterMainReturns) {
    // With that provider the process ends only through the application's own exit: a main
    // that just returns leaves the launcher waiting.
    JavaApp app;
    app.writeSettings({.runtimeLines = L"VM Provider=any\r\n"});
    ASSERT_TRUE(app.writeScript(JavaApp::script({Action::printOut(L"main ran")})));
    const LaunchResult result = app.launch({.timeoutMs = 4000});
    EXPECT_TRUE(result.timedOut);
    const Record record = app.record();
    EXPECT_EQ(record.callsOf(L"main").size(), 1u);
    EXPECT_TRUE(record.detached.empty());
    EXPECT_FALSE(record.destroyCalled);
}

} // namespace
