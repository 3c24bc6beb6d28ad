#include "jvm/ModifiedUtf8.h"

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

std::wstring decodeModifiedUtf8(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            text.push_back(static_cast<wchar_t>(lead));
            ++i;
        } else if ((lead & 0xE0) == 0xC0 && i + 1 < bytes.size() &&
                   isContinuation(static_cast<unsigned char>(bytes[i + 1]))) {
            const auto second = static_cast<unsigned char>(bytes[i + 1]);
            text.push_back(static_cast<wchar_t>((lead & 0x1F) << 6 | (second & 0x3F)));
            i += 2;
        } else if ((lead & 0xF0) == 0xE0 && i + 2 < bytes.size() &&
                   isContinuation(static_cast<unsigned char>(bytes[i + 1])) &&
                   isContinuation(static_cast<unsigned char>(bytes[i + 2]))) {
            // Surrogates arrive one by one, each in three bytes; they are kept as the code
            // units they are, which is exactly UTF-16.
            const auto second = static_cast<unsigned char>(bytes[i + 1]);
            const auto third = static_cast<unsigned char>(bytes[i + 2]);
            text.push_back(
                static_cast<wchar_t>((lead & 0x0F) << 12 | (second & 0x3F) << 6 | (third & 0x3F)));
            i += 3;
        } else {
            text.push_back(kReplacement);
            ++i;
        }
    }
    return text;
}

std::string encodeModifiedUtf8(std::wstring_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    const auto unit = [&bytes](std::uint32_t value) {
        if (value != 0 && value < 0x80) {
            bytes.push_back(static_cast<char>(value));
        } else if (value < 0x800) {
            bytes.push_back(static_cast<char>(0xC0 | (value >> 6)));
            bytes.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        } else {
            bytes.push_back(static_cast<char>(0xE0 | (value >> 12)));
            bytes.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        }
    };
    for (const wchar_t c : text) {
        const auto value = static_cast<std::uint32_t>(c);
        // A 32-bit wchar_t holds a supplementary character whole: Java keeps it as its two
        // surrogates, each encoded on its own.
        if (value > 0xFFFF) {
            unit(0xD800 + ((value - 0x10000) >> 10));
            unit(0xDC00 + ((value - 0x10000) & 0x3FF));
        } else {
            unit(value);
        }
    }
    return bytes;
}
