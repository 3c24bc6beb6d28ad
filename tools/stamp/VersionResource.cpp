#include "VersionResource.h"

#include "ByteReading.h"

#include <algorithm>

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

// One block of the resource as read back: its key, its value and where its children lie.
struct Block {
    std::wstring key;
    std::uint16_t valueLength = 0;
    std::span<const std::uint8_t> value;    // from the value's start to the block's end
    std::span<const std::uint8_t> children; // from the first child to the block's end
};

std::size_t alignedTo32Bits(std::size_t offset) {
    return (offset + 3) & ~std::size_t{3};
}

// The block at the start of `bytes`; none when its length or key leave the bytes. `next` is
// where the following sibling starts.
std::optional<Block> readBlock(std::span<const std::uint8_t> bytes, std::size_t& next) {
    if (bytes.size() < 6)
        return std::nullopt;
    const std::size_t length = readLe16(bytes, 0);
    if (length < 6 || length > bytes.size())
        return std::nullopt;
    const std::span<const std::uint8_t> block = bytes.first(length);
    Block read;
    read.valueLength = readLe16(block, 2);
    const std::size_t valueBytes =
        readLe16(block, 4) == kTextValue ? 2 * std::size_t{read.valueLength} : read.valueLength;
    std::size_t at = 6;
    for (;; at += 2) {
        if (at + 2 > block.size())
            return std::nullopt;
        const std::uint16_t unit = readLe16(block, at);
        if (unit == 0)
            break;
        read.key.push_back(static_cast<wchar_t>(unit));
    }
    at = std::min(alignedTo32Bits(at + 2), block.size());
    read.value = block.subspan(at);
    at = std::min(alignedTo32Bits(at + std::min(valueBytes, block.size() - at)), block.size());
    read.children = block.subspan(at);
    next = alignedTo32Bits(length);
    return read;
}

// The children of a block, each handed to `visit`, until one does not read.
template <typename Visit>
void forEachChild(std::span<const std::uint8_t> children, Visit visit) {
    std::size_t at = 0;
    while (at < children.size()) {
        std::size_t next = 0;
        const std::optional<Block> child = readBlock(children.subspan(at), next);
        if (!child)
            return;
        visit(*child);
        at += next;
    }
}

bool sameKey(std::wstring_view a, std::wstring_view b) {
    const auto upper = [](wchar_t c) { return c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](wchar_t x, wchar_t y) {
               return upper(x) == upper(y);
           });
}

VersionNumber versionOf(std::uint32_t high, std::uint32_t low) {
    return {static_cast<std::uint16_t>(high >> 16), static_cast<std::uint16_t>(high & 0xFFFF),
            static_cast<std::uint16_t>(low >> 16), static_cast<std::uint16_t>(low & 0xFFFF)};
}

} // namespace

VersionFields parseVersionResource(std::span<const std::uint8_t> bytes) {
    VersionFields fields;
    std::size_t next = 0;
    const std::optional<Block> root = readBlock(bytes, next);
    if (!root)
        return fields;
    if (root->valueLength >= 52 && root->value.size() >= 52 &&
        readLe32(root->value, 0) == kFixedSignature) {
        fields.fileVersion = versionOf(readLe32(root->value, 8), readLe32(root->value, 12));
        fields.productVersion = versionOf(readLe32(root->value, 16), readLe32(root->value, 20));
    }
    std::vector<std::pair<std::wstring, std::wstring>> found;
    forEachChild(root->children, [&](const Block& info) {
        if (info.key != L"StringFileInfo")
            return;
        forEachChild(info.children, [&](const Block& table) {
            if (!sameKey(table.key, kVersionLanguageBlock))
                return;
            forEachChild(table.children, [&](const Block& string) {
                std::wstring value;
                for (std::size_t i = 0; i + 1 < string.value.size() && i / 2 < string.valueLength; i += 2) {
                    const std::uint16_t unit = readLe16(string.value, i);
                    if (unit == 0)
                        break;
                    value.push_back(static_cast<wchar_t>(unit));
                }
                found.emplace_back(string.key, std::move(value));
            });
        });
    });
    for (const wchar_t* name : kVersionStringNames) {
        const auto string = std::find_if(found.begin(), found.end(),
                                         [&](const auto& pair) { return sameKey(pair.first, name); });
        if (string != found.end() && !string->second.empty())
            fields.strings.emplace_back(name, string->second);
    }
    return fields;
}

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
