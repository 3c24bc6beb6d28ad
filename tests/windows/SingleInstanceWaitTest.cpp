// A later launch waiting for the first one: it ends with the first instance's answer, or with
// its exit code once it has ended, or at once when it cannot be reached. The block is an unnamed
// mapping filled in as a first instance fills it in.
#include "jvm/ForwardedRequests.h"
#include "launcher/Launcher.h"
#include "launcher/SingleInstanceBlock.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void giveBlock(Launcher& launcher, DWORD processId, UINT messageId) {
    launcher.instanceMapping.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                                      0, sizeof(SingleInstanceBlock), nullptr));
    ASSERT_TRUE(launcher.instanceMapping);
    launcher.instanceBlock.reset(static_cast<SingleInstanceBlock*>(
        MapViewOfFile(launcher.instanceMapping.get(), FILE_MAP_WRITE, 0, 0, 0)));
    ASSERT_TRUE(launcher.instanceBlock);
    launcher.instanceBlock.get()->processId = processId;
    launcher.instanceBlock.get()->messageId = messageId;
}

// A process that has ended with `exitCode`; the handle keeps its id and exit code readable.
UniqueHandle endedProcess(DWORD exitCode) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(path) + L"\" --gtest_list_tests";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(path, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, nullptr, &startup, &process))
        return UniqueHandle();
    CloseHandle(process.hThread);
    TerminateProcess(process.hProcess, exitCode);
    WaitForSingleObject(process.hProcess, 10000);
    return UniqueHandle(process.hProcess);
}

TEST(WaitForFirstInstance, EndsWithTheAnswerOrTheFirstInstancesExitCode) {
    const UINT forward = RegisterWindowMessageW(L"qova wait test");
    ASSERT_NE(forward, 0u);
    {
        SCOPED_TRACE("an answer, after a message that is not one");
        Launcher launcher;
        giveBlock(launcher, GetCurrentProcessId(), forward);
        PostThreadMessageW(GetCurrentThreadId(), WM_USER, 1, 0);
        // Only the low 32 bits of the answer count.
        PostThreadMessageW(GetCurrentThreadId(), forward, static_cast<WPARAM>(0xABCD00000007ull),
                           0);
        EXPECT_EQ(launcher.waitForFirstInstance(), 7);
    }
    // 259 reads like "still running", yet the process has ended.
    for (const DWORD exitCode : {3ul, 259ul, 4294967295ul}) {
        SCOPED_TRACE(exitCode);
        const UniqueHandle first = endedProcess(exitCode);
        ASSERT_TRUE(first);
        Launcher launcher;
        giveBlock(launcher, GetProcessId(first.get()), forward);
        EXPECT_EQ(static_cast<DWORD>(launcher.waitForFirstInstance()), exitCode);
    }
    {
        SCOPED_TRACE("a first instance that cannot be opened");
        Launcher launcher;
        giveBlock(launcher, 0, forward);
        EXPECT_EQ(launcher.waitForFirstInstance(), 0);
    }
}

TEST(StopSingleInstance, EndsTheMessageThreadAndReleasesTheBlock) {
    Launcher launcher;
    giveBlock(launcher, GetCurrentProcessId(), RegisterWindowMessageW(L"qova stop test"));
    launcher.singleInstance = true;
    launcher.isFirstInstance = true;
    launcher.messageThread.reset(CreateThread(nullptr, 0, &requestLoop, &launcher, 0, nullptr));
    ASSERT_TRUE(launcher.messageThread);
    // Stopped at once, possibly before the thread has a message queue to receive the quit.
    launcher.stopSingleInstance();
    EXPECT_FALSE(launcher.messageThread);
    EXPECT_FALSE(launcher.instanceBlock);
    EXPECT_FALSE(launcher.instanceMapping);
}

} // namespace
