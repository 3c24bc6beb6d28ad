#include "VersionResource.h"

#include "ByteReading.h"

namespace {

constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::uint32_t kFixedStructVersion = 0x00010000;
constexpr std::uint32_t kFileFlagsMask = 0x3F;
constexpr std::uint32_t kOsNtWindows32 = 0x00040004;
constexpr std::uint32_t kFileTypeApplication = 1;
constexpr std::uint16_t kBinaryValue = 0;
constexpr std::uint16_t kTextValue = 1;

void padTo32Bits(std::vector<std::uint8_t>& bytes) {
    while (bytes.size() % 4 != 0)
        bytes.push_back(0);
}

void appendText(std::vector<std::uint8_t>& bytes, std::wstring_view text) {
    for (const wchar_t unit : text)
        appendLe16(bytes, static_cast<std::uint16_t>(unit));
    appendLe16(bytes, 0);
}

// Every block of the resource has the same frame: its length, the length of its value
// (in characters for text, in bytes otherwise), its value type and its NUL-terminated key,
// then the value and the children, each starting on a 32-bit boundary. The length covers
// everything up to the end of the last child, but not the padding after it. It is a 16-bit
// field, so a block that does not fit comes back empty, and so do all blocks around it.
std::vector<std::uint8_t> block(std::wstring_view key, std::uint16_t valueType,
                                std::uint16_t valueLength, std::span<const std::uint8_t> value,
                                std::span<const std::vector<std::uint8_t>> children) {
    std::vector<std::uint8_t> bytes;
    appendLe16(bytes, 0);
    appendLe16(bytes, valueLength);
    appendLe16(bytes, valueType);
    appendText(bytes, key);
    if (!value.empty()) {
        padTo32Bits(bytes);
        bytes.insert(bytes.end(), value.begin(), value.end());
    }
    for (const auto& child : children) {
        if (child.empty())
            return {};
        padTo32Bits(bytes);
        bytes.insert(bytes.end(), child.begin(), child.end());
    }
    if (bytes.size() > 0xFFFF)
        return {};
    writeLe16(bytes, 0, static_cast<std::uint16_t>(bytes.size()));
    return bytes;
}

std::uint32_t high(const VersionNumber& v) {
    return static_cast<std::uint32_t>(v[0]) << 16 | v[1];
}
std::uint32_t low(const VersionNumber& v) {
    return static_cast<std::uint32_t>(v[2]) << 16 | v[3];
}

std::vector<std::uint8_t> fixedFileInfo(const VersionFields& fields) {
    std::vector<std::uint8_t> bytes;
    for (const std::uint32_t value :
         {kFixedSignature, kFixedStructVersion, high(fields.fileVersion), low(fields.fileVersion),
          high(fields.productVersion), low(fields.productVersion), kFileFlagsMask, 0u,
          kOsNtWindows32, kFileTypeApplication, 0u, 0u, 0u})
        appendLe32(bytes, value);
    return bytes;
}

} // namespace

std::optional<VersionNumber> parseVersionNumber(std::wstring_view text) {
    VersionNumber number{};
    std::size_t part = 0;
    std::size_t digits = 0;
    std::uint32_t value = 0;
    for (const wchar_t c : text) {
        if (c == L'.') {
            if (digits == 0 || part == 3)
                return std::nullopt;
            number[part++] = static_cast<std::uint16_t>(value);
            digits = 0;
            value = 0;
        } else if (c >= L'0' && c <= L'9') {
            value = value * 10 + static_cast<std::uint32_t>(c - L'0');
            if (++digits > 5 || value > 0xFFFF)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    number[part] = static_cast<std::uint16_t>(value);
    return number;
}

std::optional<std::vector<std::uint8_t>> buildVersionResource(const VersionFields& fields) {
    std::vector<std::vector<std::uint8_t>> strings;
    for (const auto& [name, value] : fields.strings) {
        if (value.empty())
            continue;
        if (value.size() >= 0xFFFF)
            return {};
        std::vector<std::uint8_t> text;
        appendText(text, value);
        strings.push_back(
            block(name, kTextValue, static_cast<std::uint16_t>(value.size() + 1), text, {}));
    }
    const std::vector<std::uint8_t> table[] = {
        block(kVersionLanguageBlock, kTextValue, 0, {}, strings)};

    std::vector<std::uint8_t> translation;
    appendLe16(translation, kVersionLanguage);
    appendLe16(translation, kVersionCodePage);
    const std::vector<std::uint8_t> var[] = {block(L"Translation", kBinaryValue,
                                                   static_cast<std::uint16_t>(translation.size()),
                                                   translation, {})};

    const std::vector<std::uint8_t> children[] = {
        block(L"StringFileInfo", kTextValue, 0, {}, table),
        block(L"VarFileInfo", kTextValue, 0, {}, var)};
    const std::vector<std::uint8_t> fixed = fixedFileInfo(fields);
    std::vector<std::uint8_t> resource =
        block(L"VS_VERSION_INFO", kBinaryValue, static_cast<std::uint16_t>(fixed.size()), fixed,
              children);
    if (resource.empty())
        return std::nullopt;
    return resource;
}
