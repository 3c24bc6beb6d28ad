#include "runtime/RegistryText.h"

std::wstring textFromRegistryData(const wchar_t* data, size_t units) {
    if (!data)
        return {};
    // A plain loop: the library's search is unrolled four times over.
    size_t length = 0;
    while (length < units && data[length] != L'\0')
        ++length;
    return std::wstring(data, length);
}
