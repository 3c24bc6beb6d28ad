#include "ConsoleOutput.h"

#include <windows.h>

namespace {

void print(DWORD which, const std::wstring& text) {
    HANDLE output = GetStdHandle(which);
    if (!output || output == INVALID_HANDLE_VALUE)
        return;
    // Windows line ends, in a console and in a file alike.
    std::wstring lines;
    for (const wchar_t c : text) {
        if (c == L'\n')
            lines += L'\r';
        lines += c;
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(output, &mode)) {
        WriteConsoleW(output, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
        return;
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, lines.data(), static_cast<int>(lines.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, lines.data(), static_cast<int>(lines.size()), utf8.data(), size,
                        nullptr, nullptr);
    WriteFile(output, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

} // namespace

void printOut(const std::wstring& text) {
    print(STD_OUTPUT_HANDLE, text);
}

void printError(const std::wstring& text) {
    print(STD_ERROR_HANDLE, L"qova-stamp: " + text + L"\n");
}
