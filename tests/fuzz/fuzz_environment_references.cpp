// %NAME% expansion of arbitrary text: known references become their values, everything else
// stays exactly as written, and expansion never recurses into a value.
#include "javaopts/EnvironmentReferences.h"

#include "FuzzCheck.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool isKnownName(const std::wstring& name) {
    if (name.empty() || name.size() > 3)
        return false;
    for (wchar_t c : name)
        if (c < L'0' || c > L'9')
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // '<' and '>' mark expanded values below, so the input never holds them itself.
    std::wstring text(data, data + size);
    for (wchar_t& c : text)
        if (c == L'<' || c == L'>')
            c = L'_';

    std::wstring unchanged = text;
    expandEnvironmentReferences(unchanged, [](const std::wstring& name, std::wstring&) {
        check(!name.empty() && name.find(L'%') == std::wstring::npos);
        return false;
    });
    check(unchanged == text);

    // Short all-digit names are known; their values hold percent signs, to show that a value
    // is never expanded again.
    std::wstring expanded = text;
    expandEnvironmentReferences(expanded, [](const std::wstring& name, std::wstring& value) {
        if (!isKnownName(name))
            return false;
        value = L"<%" + name + L"%>";
        return true;
    });
    // Turning every value back into its reference gives the text as written.
    std::wstring restored;
    for (size_t i = 0; i < expanded.size(); ++i) {
        if (expanded[i] != L'<') {
            restored += expanded[i];
            continue;
        }
        const size_t close = expanded.find(L'>', i);
        check(close != std::wstring::npos);
        const std::wstring inner = expanded.substr(i + 1, close - i - 1);
        check(inner.size() >= 3 && inner.front() == L'%' && inner.back() == L'%');
        check(isKnownName(inner.substr(1, inner.size() - 2)));
        restored += inner;
        i = close;
    }
    check(restored == text);
    return 0;
}
