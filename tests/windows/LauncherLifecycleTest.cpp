// The process's one launcher pointer, which the VM's exit and abort hooks follow.
#include "jvm/VmHooks.h"
#include "launcher/Launcher.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class RecordingListener : public ExitListener {
public:
    void onExit(int status) override { exits.push_back(status); }
    void onAbort() override { ++aborts; }

    std::vector<int> exits;
    int aborts = 0;
};

TEST(LauncherLifecycle, HooksReachTheLiveLauncherOnly) {
    RecordingListener listener;
    {
        Launcher launcher;
        launcher.exitListener = &listener;
        EXPECT_EQ(currentLauncher(), &launcher);
        jvmExitHook(3);
        jvmAbortHook();
    }
    // A VM thread that exits after the launcher is gone must find no launcher, not its
    // stale address.
    ASSERT_EQ(currentLauncher(), nullptr);
    jvmExitHook(4);
    jvmAbortHook();
    EXPECT_EQ(listener.exits, std::vector<int>{3});
    EXPECT_EQ(listener.aborts, 1);
}

TEST(LauncherLifecycle, DestroyingAnOlderLauncherKeepsTheNewerOne) {
    auto older = std::make_unique<Launcher>();
    Launcher newer;
    older.reset();
    EXPECT_EQ(currentLauncher(), &newer);
}

} // namespace
