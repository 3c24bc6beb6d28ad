#include "launcher/ConsoleText.h"

#include "jvm/PeHeaders.h"

bool isConsoleImage(std::span<const std::uint8_t> headers) {
    return peSubsystem(headers) == kSubsystemConsole;
}

std::wstring consoleMessageLine(std::wstring_view text) {
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r'))
        text.remove_suffix(1);
    std::wstring line;
    line.reserve(text.size() + 2);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r'))
            line += L'\r';
        line += text[i];
    }
    return line + L"\r\n";
}
