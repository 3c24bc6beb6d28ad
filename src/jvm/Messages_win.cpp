#include "jvm/Messages.h"

#include "jvm/MessageFormat.h"
#include "launcher/Console.h"
#include "launcher/Launcher.h"
#include "launcher/Service.h"
#include "res/resource.h"

std::wstring loadString(UINT id) {
    // String resources live in blocks of sixteen counted (not terminated) strings; reading the
    // block directly has no length limit, unlike a copy into a caller's buffer.
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC block = FindResourceW(module, MAKEINTRESOURCEW(id / 16 + 1), MAKEINTRESOURCEW(6));
    if (!block)
        return {};
    const HGLOBAL loaded = LoadResource(module, block);
    const auto* cursor = static_cast<const WCHAR*>(LockResource(loaded));
    if (!cursor)
        return {};
    const WCHAR* const end = cursor + SizeofResource(module, block) / sizeof(WCHAR);
    for (UINT index = 0; cursor < end; ++index) {
        const size_t length = *cursor++;
        if (length > static_cast<size_t>(end - cursor))
            return {};
        if (index == id % 16)
            return std::wstring(cursor, length);
        cursor += length;
    }
    return {};
}

int showMessageBox(HWND owner, const std::wstring& text) {
    Launcher* launcher = currentLauncher();
    if (launcher && launcher->messageSink == Launcher::MessageSink::deferred) {
        launcher->deferredMessages.push_back(text);
        return IDOK;
    }
    if (launcher && launcher->messageSink == Launcher::MessageSink::eventLog) {
        reportServiceMessage(*launcher, text);
        return IDOK;
    }
    // A console program reports where a script reads it, with the same text; one started
    // without any standard error (detached) has only the box left.
    if (launcher && launcher->isConsole && writeStandardErrorLine(text))
        return IDOK;
    return MessageBoxW(owner, text.c_str(), nullptr, MB_ICONERROR | MB_OK);
}

int showMessageBox(HWND owner, UINT textId) { return showMessageBox(owner, loadString(textId)); }

int showFormattedMessage(HWND owner, UINT formatId, const std::wstring& text) {
    return showMessageBox(owner, formatMessage(loadString(formatId), {text}));
}

int showFormattedMessage(HWND owner, UINT formatId, const std::wstring& text1,
                         const std::wstring& text2) {
    return showMessageBox(owner, formatMessage(loadString(formatId), {text1, text2}));
}

int showFormattedMessage(HWND owner, UINT formatId, const std::wstring& text, int32_t code) {
    return showMessageBox(owner, formatMessage(loadString(formatId), {text, code}));
}

int showWindowsError(HWND owner, UINT what, DWORD errorCode) {
    return showFormattedMessage(owner, IDS_WINDOWS_EXCEPTION, loadString(what),
                                static_cast<int32_t>(errorCode));
}
