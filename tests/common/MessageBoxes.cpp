#include "MessageBoxes.h"

#include <chrono>

namespace {

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

} // namespace

std::wstring messageBoxText(HWND dialog) {
    std::wstring text;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (_wcsicmp(className(child).c_str(), L"Static") != 0)
            continue;
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if ((style & SS_TYPEMASK) == SS_ICON)
            continue;
        const std::wstring piece = windowText(child);
        if (piece.empty())
            continue;
        if (!text.empty())
            text += L"\n";
        text += piece;
    }
    return text;
}

namespace {

struct DialogSearch {
    DWORD processId;
    std::vector<HWND> dialogs;
};

BOOL CALLBACK collectDialogs(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<DialogSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && className(window) == L"#32770")
        search->dialogs.push_back(window);
    return TRUE;
}

} // namespace

std::wstring windowCaption(HWND window) { return windowText(window); }

std::vector<HWND> visibleDialogsOf(DWORD processId) {
    DialogSearch search{processId, {}};
    EnumWindows(collectDialogs, reinterpret_cast<LPARAM>(&search));
    return search.dialogs;
}

MessageBoxWatcher::MessageBoxWatcher(int answer) : answer_(answer), thread_([this] { watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
}

std::vector<std::wstring> MessageBoxWatcher::texts() const {
    std::lock_guard lock(mutex_);
    return texts_;
}

void MessageBoxWatcher::watch() {
    std::set<HWND> answered;
    while (!stop_) {
        for (HWND dialog : visibleDialogsOf(GetCurrentProcessId())) {
            if (!answered.insert(dialog).second)
                continue;
            {
                std::lock_guard lock(mutex_);
                texts_.push_back(messageBoxText(dialog));
            }
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(answer_, BN_CLICKED), 0);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}
