#include "settings/EmbeddedSettingsText.h"

std::wstring decodeEmbeddedSettingsText(std::span<const std::uint8_t> bytes) {
    // A resource cut in the middle of a code unit, or without the mark, is not one we wrote.
    if (bytes.size() < 2 || bytes.size() % 2 != 0 || bytes[0] != 0xFF || bytes[1] != 0xFE)
        return {};
    std::wstring text(bytes.size() / 2 - 1, L'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<wchar_t>(bytes[2 * i + 2] | bytes[2 * i + 3] << 8);
    return text;
}

std::vector<std::uint8_t> encodeEmbeddedSettingsText(const std::wstring& text) {
    std::vector<std::uint8_t> bytes{0xFF, 0xFE};
    bytes.reserve(2 + text.size() * 2);
    for (const wchar_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((unit >> 8) & 0xFF));
    }
    return bytes;
}

bool rangeInside(std::uintptr_t base, std::size_t size, std::uintptr_t start, std::size_t length) {
    return start >= base && start - base <= size && length <= size - (start - base);
}
