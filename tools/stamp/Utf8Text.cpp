#include "Utf8Text.h"

#include "launcher/Utf8Sequence.h"

#include <cstdint>

namespace {

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
        const Utf8Sequence sequence = utf8SequenceAt(text, at);
        if (!sequence.valid) {
            units.push_back(static_cast<wchar_t>(0xDC00 | static_cast<std::uint8_t>(text[at])));
            ++at;
            continue;
        }
        appendUtf16(units, sequence.codePoint);
        at += sequence.length;
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
