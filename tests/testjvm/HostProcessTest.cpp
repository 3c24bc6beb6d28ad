// What only shows in a process of its own: System.exit through the VM's exit hook, abort, the
// process ending on a broken JNI rule, and text reaching the standard handles.
#include "RuntimeFixture.h"

#include <gtest/gtest.h>

using namespace testjvm;

namespace {

class Host : public testing::Test {
  protected:
    ProcessResult run(const Script& script, const std::wstring& arguments) {
        home_ = layOutRuntime(folder_.path());
        EXPECT_FALSE(home_.empty());
        EXPECT_TRUE(writeScript(home_, script));
        const std::wstring host = testProgramFolder() + L"\\testjvm_host.exe";
        return runProcess(L"\"" + host + L"\" \"" + jvmLibraryOf(home_) + L"\" " + arguments,
                          folder_.path());
    }
    Record record() const { return readRecord(home_).value_or(Record{}); }

    TempFolder folder_;
    std::wstring home_;
};

Script appWith(std::vector<Action> actions) {
    Script script;
    script.classes.push_back({L"com/example/App"});
    script.mainActions = std::move(actions);
    return script;
}

TEST_F(Host, SystemExitCallsTheExitHookAndEndsTheProcessWithItsStatus) {
    const ProcessResult result =
        run(appWith({Action::printOut(L"before"), Action::exit(3), Action::printOut(L"after")}),
            L"run com/example/App");
    EXPECT_EQ(3u, result.exitCode);
    EXPECT_EQ("before\r\nexit hook 3\n", result.standardOutput);
    const Record log = record();
    EXPECT_EQ(std::vector<long long>{3}, log.exitStatuses);
    EXPECT_EQ(std::vector<long long>{3}, log.exitHookStatuses);
    EXPECT_TRUE(log.exitHookReturned);
    EXPECT_FALSE(log.destroyCalled);
}

TEST_F(Host, AbortCallsTheAbortHook) {
    const ProcessResult result = run(appWith({Action::abort()}), L"run com/example/App");
    EXPECT_EQ(3u, result.exitCode);
    EXPECT_EQ("abort hook\n", result.standardOutput);
    EXPECT_TRUE(record().abortHookCalled);
}

TEST_F(Host, PrintsReachTheStandardHandles) {
    const ProcessResult result =
        run(appWith({Action::printOut(L"out \u00e9"), Action::printErr(L"err"),
                     Action::throwException(L"java/lang/IllegalStateException: bad")}),
            L"run com/example/App");
    EXPECT_EQ(0u, result.exitCode);
    EXPECT_EQ("out \xC3\xA9\r\n", result.standardOutput);
    EXPECT_EQ("err\r\nException in thread \"main\" java.lang.IllegalStateException: bad\r\n"
              "\tat com.example.App.main(App.java)\r\n",
              result.standardError);
    const Record log = record();
    EXPECT_EQ(L"out \u00e9\r\n", log.standardOutput);
    EXPECT_TRUE(log.destroyReturned);
    EXPECT_FALSE(log.destroyTimedOut);
}

struct FatalCase {
    const wchar_t* mode;
    const wchar_t* message;
};

class HostFatal : public Host, public testing::WithParamInterface<FatalCase> {};

TEST_P(HostFatal, EndsTheProcessLoudly) {
    const ProcessResult result = run(appWith({}), GetParam().mode);
    EXPECT_EQ(kFatalExitCode, result.exitCode);
    const Record log = record();
    ASSERT_EQ(1u, log.fatalErrors.size());
    EXPECT_NE(std::wstring::npos, log.fatalErrors[0].find(GetParam().message))
        << narrow(log.fatalErrors[0]);
    EXPECT_NE(std::string::npos, result.standardError.find("FATAL ERROR in native method"));
}

INSTANTIATE_TEST_SUITE_P(Table, HostFatal,
                         testing::Values(FatalCase{L"unsupported", L"GetFieldID"},
                                         FatalCase{L"otherthread",
                                                   L"used on a thread other than its own"}));

} // namespace
