#include "ui/ColorText.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

constexpr uint32_t registryString = 1;       // REG_SZ
constexpr uint32_t registryExpandString = 2; // REG_EXPAND_SZ

bool isBlank(wchar_t c) {
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

// wcstol with base 10 as the Windows C library does it, where long has 32 bits: a value out of
// range is clamped, a text without digits reads 0.
int32_t readDecimal(std::wstring_view text) {
    size_t position = 0;
    while (position < text.size() && isBlank(text[position]))
        ++position;
    bool negative = false;
    if (position < text.size() && (text[position] == L'+' || text[position] == L'-')) {
        negative = text[position] == L'-';
        ++position;
    }
    // Accumulated as a magnitude up to one past the largest value, which is all clamping needs.
    constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; position < text.size() && text[position] >= L'0' && text[position] <= L'9'; ++position)
        magnitude = std::min(magnitude * 10 + (text[position] - L'0'), limit);
    if (negative)
        return static_cast<int32_t>(-magnitude);
    return static_cast<int32_t>(std::min(magnitude, limit - 1));
}

} // namespace

std::optional<uint32_t> parseColorText(std::wstring_view text) {
    const size_t first = text.find(L',');
    if (first == std::wstring_view::npos)
        return std::nullopt;
    const size_t second = text.find(L',', first + 1);
    if (second == std::wstring_view::npos || second + 1 == text.size())
        return std::nullopt;
    const int32_t red = readDecimal(text.substr(0, first));
    const int32_t green = readDecimal(text.substr(first + 1, second - first - 1));
    const int32_t blue = readDecimal(text.substr(second + 1));
    if (red == -1 || green == -1)
        return std::nullopt;
    const auto low8 = [](int32_t value) { return static_cast<uint32_t>(value) & 0xFFu; };
    return low8(red) | low8(green) << 8 | low8(blue) << 16;
}

std::optional<std::wstring_view> colorValueText(uint32_t type, const wchar_t* data, size_t bytes) {
    if (type != registryString && type != registryExpandString)
        return std::nullopt;
    if (bytes == 0)
        return std::wstring_view(data, 0);
    // The registry counts bytes of UTF-16 code units; half a unit at the end is no terminator.
    constexpr size_t unitBytes = 2;
    if (bytes % unitBytes != 0 || data[bytes / unitBytes - 1] != L'\0')
        return std::nullopt;
    // Read as a C string, as the value is meant: up to its first NUL.
    const std::wstring_view text(data, bytes / unitBytes - 1);
    return text.substr(0, text.find(L'\0'));
}
