// DestroyJavaVM waits for the application's non-daemon threads, as a VM does, and gives up after
// the scripted time when a thread never detaches.
#include "RuntimeFixture.h"

#include <gtest/gtest.h>

#include <thread>

using namespace testjvm;

namespace {

struct DestroyCase {
    const char* name;
    std::vector<Action> mainActions;
    bool mainThreadDetaches;
    bool attachedThreadEndsWithoutDetaching;
    bool timedOut;
    unsigned long minimumWaitMs;
};

class DestroyWaits : public testing::TestWithParam<DestroyCase> {};

TEST_P(DestroyWaits, ForEveryAttachedNonDaemonThread) {
    const DestroyCase& c = GetParam();
    Script script;
    script.classes.push_back({L"com/example/App"});
    script.mainActions = c.mainActions;
    script.destroyTimeoutMs = 1500;
    LoadedRuntime runtime(script);
    ASSERT_TRUE(runtime.loaded());
    // The VM is created on a thread of its own, as the launcher does.
    std::thread javaMain([&] {
        ASSERT_EQ(JNI_OK, runtime.create({}));
        jclass app = runtime.env->FindClass("com/example/App");
        runtime.env->CallStaticVoidMethod(
            app, runtime.env->GetStaticMethodID(app, "main", "([Ljava/lang/String;)V"),
            stringArray(runtime.env, {}));
        if (c.mainThreadDetaches)
            runtime.vm->DetachCurrentThread();
    });
    javaMain.join();
    if (c.attachedThreadEndsWithoutDetaching) {
        std::thread worker([&] {
            JNIEnv* env = nullptr;
            runtime.vm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr);
        });
        worker.join();
    }
    const DWORD start = GetTickCount();
    const jint result = runtime.vm->DestroyJavaVM();
    const DWORD elapsed = GetTickCount() - start;

    const Record record = runtime.record();
    EXPECT_TRUE(record.destroyCalled);
    EXPECT_TRUE(record.destroyReturned);
    EXPECT_EQ(c.timedOut, record.destroyTimedOut);
    EXPECT_EQ(c.timedOut ? JNI_ERR : JNI_OK, result);
    EXPECT_GE(elapsed + 50, c.minimumWaitMs);
    EXPECT_LT(elapsed, 5000u);
    if (c.timedOut) {
        ASSERT_EQ(1u, record.stillAttachedAtDestroy.size());
        EXPECT_NE(std::wstring::npos, record.stillAttachedAtDestroy[0].find(L" ended"))
            << narrow(record.stillAttachedAtDestroy[0]);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, DestroyWaits,
    testing::Values(
        DestroyCase{"nothing to wait for", {}, true, false, false, 0},
        DestroyCase{"a live non-daemon thread", {Action::thread(1000)}, true, false, false, 500},
        DestroyCase{"a daemon thread", {Action::daemonThread(3000)}, true, false, false, 0},
        DestroyCase{"a main thread that never detached", {}, false, false, true, 1500},
        DestroyCase{"an attached thread that ended", {}, true, true, true, 1500}),
    [](const testing::TestParamInfo<DestroyCase>& info) {
        std::string name = info.param.name;
        for (char& c : name)
            if (c == ' ' || c == '-')
                c = '_';
        return name;
    });

TEST(DestroyVm, AVmCannotBeUsedOrCreatedAgainAfterwards) {
    Script script;
    LoadedRuntime runtime(script);
    ASSERT_TRUE(runtime.loaded());
    ASSERT_EQ(JNI_OK, runtime.create({}));
    JavaVM* vm = runtime.vm;
    EXPECT_EQ(JNI_OK, vm->DestroyJavaVM());
    EXPECT_EQ(JNI_ERR, vm->DestroyJavaVM());
    void* env = nullptr;
    EXPECT_EQ(JNI_ERR, vm->AttachCurrentThread(&env, nullptr));
    EXPECT_EQ(JNI_ERR, runtime.create({}));
}

} // namespace
