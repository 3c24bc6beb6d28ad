// Launches that run side by side: an application launched on a thread of its own while the test
// goes on, and a wait for a condition the launches bring about.
#pragma once

#include "JavaApp.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <utility>

// Generous: the machine is slow and shared, and these launches run side by side.
inline constexpr DWORD kLaunchTimeoutMs = 240000;
inline constexpr DWORD kWaitMs = 120000;

// Polls until `done` holds; false when it never did within the time.
template <typename Condition> bool waitUntil(Condition done, DWORD timeoutMs = kWaitMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

// One launch of the app, running on a thread of its own until it ends. The options' own
// whileRunning hook, if any, still sees every look at the process.
class BackgroundLaunch {
  public:
    BackgroundLaunch(const JavaApp& app, std::wstring arguments = {},
                     LaunchOptions options = {}) {
        options.arguments = std::move(arguments);
        options.timeoutMs = kLaunchTimeoutMs;
        options.whileRunning = [this, watch = std::move(options.whileRunning)](DWORD processId) {
            processId_ = processId;
            if (watch)
                watch(processId);
        };
        result_ = std::async(std::launch::async, [&app, options] { return app.launch(options); });
    }

    bool ended(DWORD withinMs = 0) const {
        return result_.wait_for(std::chrono::milliseconds(withinMs)) == std::future_status::ready;
    }
    LaunchResult result() {
        if (!result_.valid())
            return cached_;
        cached_ = result_.get();
        return cached_;
    }
    DWORD processId() const { return processId_; }

  private:
    std::atomic<DWORD> processId_{0};
    std::future<LaunchResult> result_;
    LaunchResult cached_;
};
