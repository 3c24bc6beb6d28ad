#include "javaopts/EnvironmentReferences.h"

#include <string_view>
#include <utility>

void expandEnvironmentReferences(std::wstring& text, const EnvironmentLookup& lookup) {
    if (text.find(L'%') == std::wstring::npos)
        return;
    std::wstring expanded;
    expanded.reserve(text.size());
    std::wstring value;
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t open = text.find(L'%', position);
        if (open == std::wstring::npos)
            break;
        expanded.append(text, position, open - position);
        const std::size_t close = text.find(L'%', open + 1);
        if (close == std::wstring::npos) {
            position = open;
            break;
        }
        const std::wstring name = text.substr(open + 1, close - open - 1);
        value.clear();
        // Unknown: the reference stays with both of its percent signs, and the scan goes on
        // after them, so the closing sign never opens another reference.
        const bool known = !name.empty() && lookup(name, value);
        expanded.append(known ? std::wstring_view{value}
                              : std::wstring_view{text}.substr(open, close - open + 1));
        position = close + 1;
    }
    expanded.append(text, position, std::wstring::npos);
    text = std::move(expanded);
}
