#include "javaopts/VmParameterText.h"

namespace {

constexpr wchar_t kSpace = L' ';
constexpr wchar_t kQuote = L'"';

std::size_t skipSpaces(const std::wstring& text, std::size_t position) {
    while (position < text.size() && text[position] == kSpace)
        ++position;
    return position;
}

// Where the option that starts at `position` ends (exclusive): at the first space that is not
// inside a quoted stretch, or at the end of the text.
std::size_t optionEnd(const std::wstring& text, std::size_t position) {
    std::size_t from = position;
    for (;;) {
        const std::size_t space = text.find(kSpace, from);
        const std::size_t quote = text.find(kQuote, from);
        if (quote == std::wstring::npos || space == std::wstring::npos || space < quote)
            return space == std::wstring::npos ? text.size() : space;
        const std::size_t stretchEnd = quotedStretchEnd(text, quote);
        // An unmatched quote protects nothing: the option ends at the next space.
        if (stretchEnd == std::wstring::npos)
            return space;
        from = stretchEnd + 1;
    }
}

} // namespace

std::size_t quotedStretchEnd(const std::wstring& text, std::size_t open) {
    std::size_t close = text.find(kQuote, open + 1);
    if (close == std::wstring::npos)
        return close;
    if (close + 1 < text.size() && text[close + 1] == kQuote)
        ++close;
    return close;
}

std::vector<std::wstring> splitVmParameterText(const std::wstring& text) {
    std::vector<std::wstring> options;
    // Runs of spaces, and spaces at either end, separate but never make an empty option.
    for (std::size_t position = skipSpaces(text, 0); position < text.size();) {
        const std::size_t end = optionEnd(text, position);
        options.push_back(text.substr(position, end - position));
        position = skipSpaces(text, end);
    }
    return options;
}

void removeQuotes(std::wstring& option) {
    std::size_t position = option.find(kQuote);
    while (position != std::wstring::npos) {
        const std::size_t close = quotedStretchEnd(option, position);
        if (close == std::wstring::npos)
            return;
        // The inner text runs up to the closing position, so a doubled closing quote keeps its
        // first quote as a literal one.
        const std::size_t innerLength = close - position - 1;
        option.erase(close, 1);
        option.erase(position, 1);
        position = option.find(kQuote, position + innerLength);
    }
}
