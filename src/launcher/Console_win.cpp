#include "launcher/Console.h"

#include "javaopts/AnsiText.h"
#include "launcher/ConsoleText.h"

#include <windows.h>

#include <cstdint>

bool runsInConsole() {
    // The headers lie in the image's first page, which is mapped as long as the image is.
    const auto* image = reinterpret_cast<const std::uint8_t*>(GetModuleHandleW(nullptr));
    return isConsoleImage({image, 4096});
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
