// Splitting arbitrary text: every piece must be explainable by the splitting rule, and
// quoting the pieces again must give them back unchanged.
#include "launcher/CommandLine.h"

#include "FuzzCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cwctype>
#include <string>
#include <vector>

namespace {

// Mostly one byte per character, so that quotes and blanks are dense; a byte from 0xF0 on
// joins the next byte into a character above 0xFF, where Windows passes other scripts and
// wide white space.
std::wstring wideText(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] >= 0xF0 && i + 1 < size) {
            text.push_back(static_cast<wchar_t>(((data[i] & 0x0F) + 1) << 8 | data[i + 1]));
            ++i;
        } else {
            text.push_back(static_cast<wchar_t>(data[i]));
        }
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = wideText(data, size);
    std::vector<std::wstring> pieces;
    splitArguments(text, pieces);

    // Each piece is found in the text after the previous one, either as it stands (then it
    // is not empty and holds no blank) or right after a double quote.
    size_t position = 0;
    for (const std::wstring& piece : pieces) {
        position = text.find_first_not_of(L' ', position);
        check(position != std::wstring::npos);
        if (text[position] == L'"') {
            check(text.compare(position + 1, piece.size(), piece) == 0);
            check(piece.find(L'"') == std::wstring::npos);
            position += 1 + piece.size() + 1;
        } else {
            check(!piece.empty() && piece.find(L' ') == std::wstring::npos);
            check(text.compare(position, piece.size(), piece) == 0);
            position += piece.size();
        }
    }
    check(pieces.size() <= text.size());

    // Quoting each piece that holds no quote and joining with blanks splits back to the same.
    bool quotable = true;
    for (const std::wstring& piece : pieces)
        quotable = quotable && piece.find(L'"') == std::wstring::npos;
    if (quotable) {
        std::wstring joined;
        for (const std::wstring& piece : pieces)
            joined += L"\"" + piece + L"\" ";
        std::vector<std::wstring> again;
        splitArguments(joined, again);
        check(again == pieces);
    }

    // Behind a program name, text that trimming leaves alone gives the same pieces.
    const bool untouchedByTrim =
        std::none_of(
            text.begin(), text.end(),
            [](wchar_t c) { return c != L' ' && std::iswspace(static_cast<wint_t>(c)); }) &&
        (text.empty() || text.back() != L' ');
    if (untouchedByTrim)
        check(argumentsFromCommandLine(L"prog " + text) == pieces);
    return 0;
}
