#include "runtime/RegistryText.h"

#include <algorithm>

std::wstring textFromRegistryData(const wchar_t* data, size_t units) {
    if (!data)
        return {};
    const wchar_t* end = std::find(data, data + units, L'\0');
    return std::wstring(data, end);
}
