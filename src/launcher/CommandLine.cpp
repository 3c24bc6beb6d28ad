#include "launcher/CommandLine.h"

#include <algorithm>
#include <cwctype>

namespace {

constexpr wchar_t blank = L' ';
constexpr wchar_t quote = L'"';

size_t skipBlanks(const std::wstring& text, size_t position) {
    const size_t next = text.find_first_not_of(blank, position);
    return next == std::wstring::npos ? text.size() : next;
}

bool isSpace(wchar_t c) {
    return std::iswspace(static_cast<wint_t>(c)) != 0;
}

} // namespace

// Deliberately simpler than the Windows convention: Java programs receive paths with
// trailing backslashes ("C:\dir\") unchanged, because a backslash never escapes anything.
void splitArguments(const std::wstring& text, std::vector<std::wstring>& out) {
    // Leading blanks separate nothing; without this skip they would yield an empty piece
    // that no one typed.
    size_t position = skipBlanks(text, 0);
    while (position < text.size()) {
        size_t end;
        if (text[position] == quote) {
            const size_t start = position + 1;
            const size_t closing = text.find(quote, start);
            if (closing == std::wstring::npos) {
                // An unterminated quote runs to the end, blanks included.
                out.emplace_back(text, start);
                return;
            }
            out.emplace_back(text, start, closing - start);
            // Text right after a closing quote starts the next piece, blank or not.
            end = closing + 1;
        } else {
            end = std::min(text.find(blank, position), text.size());
            out.emplace_back(text, position, end - position);
        }
        position = skipBlanks(text, end);
    }
}

std::vector<std::wstring> argumentsFromCommandLine(const std::wstring& commandLine) {
    // Plain index loops: the library's search is unrolled four times over, in each direction.
    size_t first = 0;
    size_t last = commandLine.size();
    while (first < last && isSpace(commandLine[first]))
        ++first;
    while (last > first && isSpace(commandLine[last - 1]))
        --last;
    std::vector<std::wstring> arguments;
    if (first < last)
        splitArguments(commandLine.substr(first, last - first), arguments);
    // The program name is the first piece, quoted or not; the rest belongs to the Java side.
    if (!arguments.empty())
        arguments.erase(arguments.begin());
    return arguments;
}

bool hasArgument(const std::vector<std::wstring>& arguments, const std::wstring& text) {
    // A range-for rather than std::find, whose search is unrolled four times over.
    for (const std::wstring& argument : arguments)
        if (argument == text)
            return true;
    return false;
}
