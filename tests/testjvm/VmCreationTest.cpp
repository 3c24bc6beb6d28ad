// VM creation as the launcher drives it: what the runtime records, which options it refuses and
// with which result, the scripted result, the default stack size.
#include "RuntimeFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace testjvm;

namespace {

void JNICALL someExitHook(jint) {}
void JNICALL someAbortHook() {}

Script appScript() {
    Script script;
    script.classes.push_back({L"com/example/App"});
    return script;
}

TEST(VmCreation, RecordsEveryOptionInOrderWithItsExtraInfoFlag) {
    LoadedRuntime runtime(appScript());
    ASSERT_TRUE(runtime.loaded());
    SetEnvironmentVariableW(L"QOVA_TESTJVM_PROBE", L"value \u00e9");
    const std::string accented = toAnsi(L"-Dname=caf\u00e9");
    ASSERT_EQ(JNI_OK, runtime.create({{"-Djava.class.path=C:\\app\\a.jar;C:\\app\\b.jar"},
                                      {"-Xmx512m"},
                                      {accented},
                                      {"abort", reinterpret_cast<void*>(&someAbortHook)},
                                      {"exit", reinterpret_cast<void*>(&someExitHook)}}));
    SetEnvironmentVariableW(L"QOVA_TESTJVM_PROBE", nullptr);

    const Record record = runtime.record();
    const std::vector<std::wstring> expected{L"-Djava.class.path=C:\\app\\a.jar;C:\\app\\b.jar",
                                             L"-Xmx512m", L"-Dname=caf\u00e9", L"abort", L"exit"};
    EXPECT_EQ(expected, record.optionTexts());
    ASSERT_EQ(5u, record.options.size());
    EXPECT_EQ(accented, record.options[2].bytes);
    EXPECT_FALSE(record.options[1].hasExtraInfo);
    EXPECT_TRUE(record.options[3].hasExtraInfo);
    EXPECT_TRUE(record.options[4].hasExtraInfo);
    EXPECT_EQ(JNI_VERSION_1_2, record.version);
    EXPECT_FALSE(record.ignoreUnrecognized);
    EXPECT_EQ(GetCurrentThreadId(), record.createThreadId);
    EXPECT_EQ(JNI_OK, record.createResult.value_or(99));
    EXPECT_EQ(L"value \u00e9", record.environmentVariable(L"qova_testjvm_probe").value_or(L"-"));

    wchar_t folder[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, folder);
    EXPECT_EQ(std::wstring(folder), record.currentDirectory);
}

struct CreationOnThread {
    LoadedRuntime* runtime;
    jint result = JNI_ERR;
};

// A thread procedure has the system's calling convention (__stdcall on 32-bit Windows), which
// a lambda does not convert to.
DWORD WINAPI createOnThread(void* parameter) {
    auto* creation = static_cast<CreationOnThread*>(parameter);
    creation->result = creation->runtime->create({});
    creation->runtime->vm->DetachCurrentThread();
    return 0;
}

// The creating thread's stack as the runtime measures it covers at least what the thread was
// created with.
TEST(VmCreation, RecordsTheStackSizeOfTheCreatingThread) {
    LoadedRuntime runtime(appScript());
    ASSERT_TRUE(runtime.loaded());
    constexpr SIZE_T requested = 8 * 1024 * 1024;
    CreationOnThread creation{&runtime};
    HANDLE thread = CreateThread(nullptr, requested, &createOnThread, &creation, 0, nullptr);
    ASSERT_TRUE(thread);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    ASSERT_EQ(JNI_OK, creation.result);
    const Record record = runtime.record();
    EXPECT_GE(record.createStackSize, requested);
    EXPECT_LT(record.createStackSize, 4 * requested);
    EXPECT_NE(GetCurrentThreadId(), record.createThreadId);
}

struct OptionCase {
    const char* option;
    std::vector<std::wstring> rejected; // script
    std::vector<std::wstring> accepted; // script
    jint rejectResult;
    jint expected;
    const char* stderrText;
};

class OptionVerdicts : public testing::TestWithParam<OptionCase> {};

TEST_P(OptionVerdicts, AsARealVm) {
    const OptionCase& c = GetParam();
    Script script = appScript();
    script.rejectedOptions = c.rejected;
    script.acceptedOptions = c.accepted;
    script.rejectResult = c.rejectResult;
    LoadedRuntime runtime(script);
    ASSERT_TRUE(runtime.loaded());
    EXPECT_EQ(c.expected, runtime.create({{"-Djava.class.path=."}, {c.option}}));
    const Record record = runtime.record();
    EXPECT_EQ(c.expected, record.createResult.value_or(99));
    EXPECT_EQ(2u, record.options.size()); // recorded before the verdict
    if (c.expected != JNI_OK) {
        EXPECT_EQ(nullptr, runtime.vm);
        EXPECT_EQ(nullptr, runtime.env);
    }
    EXPECT_NE(std::wstring::npos, record.standardError.find(fromAnsi(c.stderrText)))
        << narrow(record.standardError);
}

INSTANTIATE_TEST_SUITE_P(
    Table, OptionVerdicts,
    testing::Values(
        OptionCase{"-Xss2m", {}, {}, JNI_ERR, JNI_OK, ""},
        OptionCase{"-Xmx1048576k", {}, {}, JNI_ERR, JNI_OK, ""},
        OptionCase{"-XX:+UseG1GC", {}, {}, JNI_ERR, JNI_OK, ""},
        // HotSpot refuses a flag it does not know, with JNI_EINVAL.
        OptionCase{"-XX:+QovaNoSuchFlag", {}, {}, JNI_ERR, JNI_EINVAL,
                   "Unrecognized VM option 'QovaNoSuchFlag'"},
        OptionCase{"-Dempty=", {}, {}, JNI_ERR, JNI_OK, ""},
        OptionCase{"-verbose:gc", {}, {}, JNI_ERR, JNI_OK, ""},
        OptionCase{"-Xbogus", {}, {}, JNI_ERR, JNI_ERR, "Unrecognized option: -Xbogus"},
        OptionCase{"-server", {}, {}, JNI_ERR, JNI_ERR, "Unrecognized option: -server"},
        OptionCase{"plain", {}, {}, JNI_EINVAL, JNI_EINVAL, "Unrecognized option: plain"},
        // A percentage size the launcher failed to rewrite.
        OptionCase{"-Xmx50P", {}, {}, JNI_ERR, JNI_EINVAL, "Invalid maximum heap size: -Xmx50P"},
        OptionCase{"-XssP0K", {}, {}, JNI_ERR, JNI_EINVAL, "Invalid thread stack size: -XssP0K"},
        OptionCase{"-Dapp.mode=test", {L"-Dapp.*"}, {}, -4, -4, "Unrecognized option: -Dapp.mode"},
        OptionCase{"--custom", {}, {L"--custom"}, JNI_ERR, JNI_OK, ""}));

TEST(VmCreation, IgnoreUnrecognizedSkipsUnknownOptionsButNotMalformedSizes) {
    LoadedRuntime runtime(appScript());
    ASSERT_TRUE(runtime.loaded());
    EXPECT_EQ(JNI_EINVAL, runtime.create({{"-Xbogus"}, {"-Xmx1z"}}, JNI_VERSION_1_2, true));
    LoadedRuntime second(appScript());
    ASSERT_TRUE(second.loaded());
    EXPECT_EQ(JNI_OK, second.create({{"-Xbogus"}}, JNI_VERSION_1_2, true));
}

TEST(VmCreation, ScriptedResultFailsCreationAfterRecording) {
    Script script = appScript();
    script.createResult = JNI_ENOMEM;
    LoadedRuntime runtime(script);
    ASSERT_TRUE(runtime.loaded());
    EXPECT_EQ(JNI_ENOMEM, runtime.create({{"-Xmx1g"}}));
    EXPECT_EQ(nullptr, runtime.vm);
    const Record record = runtime.record();
    EXPECT_EQ(std::vector<std::wstring>{L"-Xmx1g"}, record.optionTexts());
    EXPECT_EQ(JNI_ENOMEM, record.createResult.value_or(99));
}

TEST(VmCreation, VersionOneOneCannotCreateAVm) {
    LoadedRuntime runtime(appScript());
    ASSERT_TRUE(runtime.loaded());
    EXPECT_EQ(JNI_EVERSION, runtime.create({}, JNI_VERSION_1_1));
    EXPECT_EQ(JNI_OK, runtime.create({}, JNI_VERSION_1_8));
}

TEST(VmCreation, ASecondVmIsRefused) {
    LoadedRuntime runtime(appScript());
    ASSERT_TRUE(runtime.loaded());
    ASSERT_EQ(JNI_OK, runtime.create({}));
    JavaVM* first = runtime.vm;
    EXPECT_EQ(JNI_EEXIST, runtime.create({}));
    const auto created = runtime.entry<JNI_GetCreatedJavaVMs_t>("JNI_GetCreatedJavaVMs");
    JavaVM* found = nullptr;
    jsize count = 0;
    EXPECT_EQ(JNI_OK, created(&found, 1, &count));
    EXPECT_EQ(1, count);
    EXPECT_EQ(first, found);
    EXPECT_EQ(2, runtime.record().createCalls);
}

TEST(VmCreation, DefaultInitArgsGiveTheScriptedJavaStackSizeForVersionOneOne) {
    for (const jint size : {1048576, 0, -5}) {
        Script script = appScript();
        script.defaultStackSize = size;
        LoadedRuntime runtime(script);
        ASSERT_TRUE(runtime.loaded());
        const auto defaults =
            runtime.entry<JNI_GetDefaultJavaVMInitArgs_t>("JNI_GetDefaultJavaVMInitArgs");
        JDK1_1InitArgs args{};
        args.version = JNI_VERSION_1_1;
        defaults(&args);
        EXPECT_EQ(size, args.javaStackSize);
        EXPECT_EQ(std::vector<jint>{JNI_VERSION_1_1}, runtime.record().defaultInitArgsVersions);
    }
}

} // namespace
