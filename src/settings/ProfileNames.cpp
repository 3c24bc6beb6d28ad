#include "settings/ProfileNames.h"

#include <algorithm>

namespace {

std::wstring_view withoutBlanks(std::wstring_view name) {
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    while (!name.empty() && blank(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && blank(name.back()))
        name.remove_suffix(1);
    return name;
}

wchar_t asciiUpper(wchar_t c) {
    return c >= L'a' && c <= L'z' ? c - (L'a' - L'A') : c;
}

} // namespace

bool mayBeSameName(std::wstring_view listed, std::wstring_view wanted) {
    listed = withoutBlanks(listed);
    wanted = withoutBlanks(wanted);
    if (listed.size() != wanted.size())
        return false;
    for (size_t i = 0; i < listed.size(); ++i) {
        if (listed[i] >= 0x80 || wanted[i] >= 0x80)
            continue;
        if (asciiUpper(listed[i]) != asciiUpper(wanted[i]))
            return false;
    }
    return true;
}

std::size_t namesThatMayBe(const std::vector<std::wstring>& listed, std::wstring_view wanted) {
    return static_cast<std::size_t>(
        std::count_if(listed.begin(), listed.end(),
                      [wanted](const std::wstring& name) { return mayBeSameName(name, wanted); }));
}

bool isBlankName(std::wstring_view name) {
    return withoutBlanks(name).empty();
}
