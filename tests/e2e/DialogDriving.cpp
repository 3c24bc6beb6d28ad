#include "DialogDriving.h"

#include <shlobj.h>

std::wstring controlText(HWND dialog, int controlId) {
    // Asked of the control itself: for a window of another process GetWindowTextW gives only
    // the name the system keeps, which an edit control does not update.
    const HWND control = GetDlgItem(dialog, controlId);
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXT, text.size(),
                             reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, 5000, &copied))
        return {};
    text.resize(copied);
    return text;
}

bool controlEnabled(HWND dialog, int controlId) {
    return IsWindowEnabled(GetDlgItem(dialog, controlId)) != FALSE;
}

RECT controlRect(HWND dialog, int controlId) {
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, controlId), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE windowSize(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void pressButton(HWND dialog, int controlId) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, controlId)));
}

void pressEscape(HWND dialog) {
    // To the focused control, as the keyboard would deliver it; the modal loop turns it into
    // the dialog's Cancel.
    DWORD threadId = GetWindowThreadProcessId(dialog, nullptr);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    HWND target = dialog;
    if (GetGUIThreadInfo(threadId, &info) && info.hwndFocus)
        target = info.hwndFocus;
    PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
}

void pressCloseBox(HWND dialog) {
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

bool selectFolderInBrowser(HWND browser, const std::wstring& folder) {
    DWORD processId = 0;
    GetWindowThreadProcessId(browser, &processId);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    if (!process)
        return false;
    const size_t bytes = (folder.size() + 1) * sizeof(wchar_t);
    void* remote = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    bool selected = false;
    if (remote && WriteProcessMemory(process, remote, folder.c_str(), bytes, nullptr)) {
        DWORD_PTR result = 0;
        selected =
            SendMessageTimeoutW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote),
                                SMTO_NORMAL, 10000, &result) != 0;
    }
    if (remote)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return selected;
}

bool sendDpiChanged(HWND dialog, int dpi, const RECT& suggested) {
    DWORD processId = 0;
    GetWindowThreadProcessId(dialog, &processId);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    if (!process)
        return false;
    void* remote = VirtualAllocEx(process, nullptr, sizeof suggested, MEM_COMMIT, PAGE_READWRITE);
    bool sent = false;
    if (remote && WriteProcessMemory(process, remote, &suggested, sizeof suggested, nullptr)) {
        DWORD_PTR result = 0;
        sent = SendMessageTimeoutW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                                   reinterpret_cast<LPARAM>(remote), SMTO_NORMAL, 10000,
                                   &result) != 0;
    }
    if (remote)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return sent;
}

RECT suggestedRectFor(HWND dialog, POINT openedAt, SIZE openedClient) {
    RECT window{}, client{};
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    return {openedAt.x, openedAt.y,
            openedAt.x + window.right - window.left - client.right + openedClient.cx,
            openedAt.y + window.bottom - window.top - client.bottom + openedClient.cy};
}

namespace {

constexpr const wchar_t* dpiValue = L"LogPixels";

} // namespace

ScopedDisplayDpi::ScopedDisplayDpi(DWORD dpi)
    : saved_{{HKEY_CURRENT_USER, L"Control Panel\\Desktop", false, 0},
             {HKEY_CURRENT_CONFIG, L"Software\\Fonts", false, 0}} {
    for (Saved& saved : saved_) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(saved.root, saved.path, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                            &key, nullptr) != ERROR_SUCCESS)
            continue;
        DWORD size = sizeof saved.value;
        DWORD type = 0;
        saved.existed =
            RegQueryValueExW(key, dpiValue, nullptr, &type, reinterpret_cast<BYTE*>(&saved.value),
                             &size) == ERROR_SUCCESS &&
            type == REG_DWORD;
        RegSetValueExW(key, dpiValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                       sizeof dpi);
        RegCloseKey(key);
    }
}

ScopedDisplayDpi::~ScopedDisplayDpi() {
    for (const Saved& saved : saved_) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(saved.root, saved.path, 0, KEY_WRITE, &key) != ERROR_SUCCESS)
            continue;
        if (saved.existed)
            RegSetValueExW(key, dpiValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&saved.value),
                           sizeof saved.value);
        else
            RegDeleteValueW(key, dpiValue);
        RegCloseKey(key);
    }
}
