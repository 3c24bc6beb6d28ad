// Finding, reading and answering the message boxes of a process.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

// The visible dialog windows (message boxes among them) of a process.
std::vector<HWND> visibleDialogsOf(DWORD processId);

// The text of a message box: its static controls other than the icon, joined by line feeds.
std::wstring messageBoxText(HWND dialog);
std::wstring windowCaption(HWND window);

// Answers every message box this process shows while the watcher lives (with the control id
// `answer`), remembering their texts: lets a test call code that reports a failure modally.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(int answer = IDOK);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    std::vector<std::wstring> texts() const;

private:
    void watch();

    const int answer_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::wstring> texts_;
    std::thread thread_;
};
