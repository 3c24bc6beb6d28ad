#include "settings/LaunchSettingsRules.h"

#include <algorithm>

namespace {

wchar_t foldAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; }

} // namespace

bool equalsIgnoringAsciiCase(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return foldAscii(x) == foldAscii(y);
           });
}

int jvmTypeFromText(const std::wstring& text) {
    if (text == L"server")
        return 1;
    if (text == L"favor_server")
        return 2;
    return 0;
}

JvmSourceChoice jvmSourceFromText(const std::wstring& text) {
    if (text.empty())
        return {true, true, true};
    if (text == L"favor_JRE")
        return {false, true, true};
    if (text == L"favor_JDK")
        return {true, false, true};
    if (text == L"only_JRE")
        return {false, true, false};
    if (text == L"only_JDK")
        return {true, false, false};
    return {false, false, false};
}

VmProviderChoice vmProviderFromText(const std::wstring& text) {
    struct Row {
        const wchar_t* name;
        VmProviderChoice choice;
    };
    // First match wins; the fields are jrockit accepted/favoured, sun accepted/favoured,
    // ibm accepted/favoured.
    static const Row rows[] = {
        {L"jrockit", {true, true, false, false, false, false}},
        {L"ibm", {false, false, false, false, true, true}},
        {L"favor_sun", {true, false, true, true, true, false}},
        {L"favor_jrockit", {true, true, true, false, true, false}},
        {L"favor_ibm", {true, false, true, false, true, true}},
        {L"any", {true, false, true, false, true, false}},
    };
    for (const Row& row : rows)
        if (equalsIgnoringAsciiCase(text, row.name))
            return row.choice;
    return {};
}

std::vector<std::wstring> splitPreferredVersions(const std::wstring& text) {
    std::vector<std::wstring> pieces;
    size_t start = 0;
    while (start < text.size()) {
        const size_t separator = text.find(L';', start);
        if (separator == std::wstring::npos) {
            pieces.push_back(text.substr(start));
            break;
        }
        pieces.push_back(text.substr(start, separator - start));
        start = separator + 1;
    }
    return pieces;
}

bool isYes(const std::wstring& text) { return equalsIgnoringAsciiCase(text, L"yes"); }

std::wstring toSlashClassName(std::wstring className) {
    std::replace(className.begin(), className.end(), L'.', L'/');
    return className;
}
