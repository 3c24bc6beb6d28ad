#include "launcher/ProcessInfo.h"

bool readModulePath(std::wstring& path, DWORD& error) {
    // GetModuleFileNameW cuts a long path silently (returning the buffer size), so the buffer
    // grows until the path fits; a cut path would name the wrong settings file.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            error = GetLastError();
            return false;
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            path = std::move(buffer);
            return true;
        }
        if (buffer.size() >= 32768) { // the longest path Windows can hand out
            error = ERROR_INSUFFICIENT_BUFFER;
            return false;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<std::wstring> environmentVariable(const std::wstring& name) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD length =
            GetEnvironmentVariableW(name.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND)
                return std::nullopt;
            return std::wstring(); // set, but empty
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        // Too small: length is the size needed, terminator included.
        buffer.resize(length);
    }
}
