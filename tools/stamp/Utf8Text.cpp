#include "Utf8Text.h"

#include <cstdint>

namespace {

// The length of the valid UTF-8 sequence at `at` and its code point; 0 when it is not one
// (overlong, a surrogate, above U+10FFFF, or cut short).
std::size_t sequenceAt(std::string_view text, std::size_t at, std::uint32_t& codePoint) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(at);
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - at < length)
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(at + k) & 0xC0) != 0x80)
            return 0;
        codePoint = codePoint << 6 | (byte(at + k) & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | cp >> 6));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | cp >> 12));
        out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | cp >> 18));
        out.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

} // namespace

std::wstring unitsFromUtf8(std::string_view text) {
    std::wstring units;
    for (std::size_t at = 0; at < text.size();) {
        std::uint32_t cp = 0;
        const std::size_t length = sequenceAt(text, at, cp);
        if (length == 0) {
            units.push_back(static_cast<wchar_t>(0xDC00 | static_cast<std::uint8_t>(text[at])));
            ++at;
            continue;
        }
        if (cp >= 0x10000) {
            units.push_back(static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10)));
            units.push_back(static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            units.push_back(static_cast<wchar_t>(cp));
        }
        at += length;
    }
    return units;
}

std::string utf8FromUnits(std::wstring_view units) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const std::uint32_t unit = static_cast<std::uint32_t>(units[i]) & 0xFFFF;
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const std::uint32_t next =
            i + 1 < units.size() ? static_cast<std::uint32_t>(units[i + 1]) & 0xFFFF : 0;
        if (high && next >= 0xDC00 && next <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
            ++i;
        } else if (unit >= 0xDC80 && unit <= 0xDCFF) {
            out.push_back(static_cast<char>(unit & 0xFF)); // a byte that came in as no UTF-8
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}
