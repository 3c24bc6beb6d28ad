#include "launcher/Console.h"

#include "javaopts/AnsiText.h"
#include "launcher/ConsoleText.h"

#include <windows.h>


bool runsInConsole() {
    // The process's own image, which the loader has already checked: its headers are read as
    // they stand, without the bounds checks a file from anywhere needs.
    const auto* image = reinterpret_cast<const BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dos->e_lfanew);
    return nt->OptionalHeader.Subsystem == IMAGE_SUBSYSTEM_WINDOWS_CUI;
}

bool writeStandardErrorLine(const std::wstring& text) {
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (!error || error == INVALID_HANDLE_VALUE)
        return false;
    const std::wstring line = consoleMessageLine(text);
    DWORD written = 0;
    DWORD mode = 0;
    // A console shows UTF-16 whole, whatever its code page.
    // A write that fails (a pipe whose reader has gone) is not retried in a message box: a
    // program run by a script must not stop to wait for a click.
    if (GetConsoleMode(error, &mode)) {
        (void)WriteConsoleW(error, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        return true;
    }
    // A pipe or a file gets the bytes in the ANSI code page (UTF-8 when the manifest asks for
    // it): that is what the VM writes System.err in when it is not a console, so a script
    // reading the stream meets one encoding, not two.
    const std::string bytes = threadAnsiText(line).bytes;
    (void)WriteFile(error, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return true;
}
