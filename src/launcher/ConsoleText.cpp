#include "launcher/ConsoleText.h"

std::wstring consoleMessageLine(std::wstring_view text) {
    // Carriage returns are dropped and put back before each line feed: no line end doubled.
    // Filled in place at its longest length, then cut: far less code in the launcher than a
    // string that grows by characters.
    std::wstring line(text.size() * 2 + 2, L'\0');
    size_t length = 0;
    for (const wchar_t c : text) {
        if (c == L'\n')
            line[length++] = L'\r';
        if (c != L'\r')
            line[length++] = c;
    }
    while (length > 0 && (line[length - 1] == L'\n' || line[length - 1] == L'\r'))
        --length;
    line[length++] = L'\r';
    line[length++] = L'\n';
    line.resize(length);
    return line;
}
