// Version numbers as the tool accepts them, and the version resource it builds, walked the way
// the Windows version functions walk it.
#include "VersionResource.h"

#include <gtest/gtest.h>

#include <map>

namespace {

TEST(VersionNumber, AcceptsOneToFourNumbersUpTo65535) {
    struct Case {
        const wchar_t* text;
        std::optional<VersionNumber> number;
    };
    const Case cases[] = {
        {L"1", VersionNumber{1, 0, 0, 0}},
        {L"2.1", VersionNumber{2, 1, 0, 0}},
        {L"1.2.3.4", VersionNumber{1, 2, 3, 4}},
        {L"65535.0.00010.65535", VersionNumber{65535, 0, 10, 65535}},
        {L"", std::nullopt},
        {L"65536", std::nullopt},
        {L"000001", std::nullopt}, // more digits than any number up to 65535 needs
        {L"1.2.3.4.5", std::nullopt},
        {L"1..2", std::nullopt},
        {L".1", std::nullopt},
        {L"1.", std::nullopt},
        {L"1.2 beta", std::nullopt},
        {L"-1", std::nullopt},
        {L" 1", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseVersionNumber(c.text), c.number)
            << testing::PrintToString(std::wstring(c.text));
}

struct Walked {
    std::map<std::wstring, std::vector<std::uint8_t>> values; // by path of keys
    bool ok = true;
};

std::uint16_t at16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::size_t aligned(std::size_t at) {
    return (at + 3) & ~std::size_t{3};
}

// Checks one block's frame and its children against its length, as VerQueryValue relies on.
void walk(const std::vector<std::uint8_t>& bytes, std::size_t start, std::size_t limit,
          const std::wstring& parent, Walked& walked) {
    if (limit - start < 6) {
        walked.ok = false;
        return;
    }
    const std::size_t end = start + at16(bytes, start);
    const std::size_t valueLength = at16(bytes, start + 2);
    const bool isText = at16(bytes, start + 4) == 1;
    if (end > limit) {
        walked.ok = false;
        return;
    }
    std::wstring key;
    std::size_t at = start + 6;
    for (; at + 1 < end && at16(bytes, at) != 0; at += 2)
        key += static_cast<wchar_t>(at16(bytes, at));
    at = aligned(at + 2);
    const std::size_t valueBytes = isText ? valueLength * 2 : valueLength;
    if (valueBytes > end - std::min(at, end)) {
        walked.ok = false;
        return;
    }
    const std::wstring path = parent + L"\\" + key;
    walked.values[path] = {bytes.begin() + static_cast<std::ptrdiff_t>(at),
                           bytes.begin() + static_cast<std::ptrdiff_t>(at + valueBytes)};
    at = aligned(at + valueBytes);
    while (walked.ok && at < end) {
        walk(bytes, at, end, path, walked);
        at = aligned(at + at16(bytes, at));
    }
}

std::wstring textOf(const std::vector<std::uint8_t>& value) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < value.size(); i += 2)
        text += static_cast<wchar_t>(at16(value, i));
    return text;
}

TEST(VersionResource, BlocksNestAndHoldTheFields) {
    VersionFields fields;
    fields.fileVersion = {1, 2, 3, 4};
    fields.productVersion = {5, 6, 0, 0};
    fields.strings = {
        {L"ProductName", L"Viewer"}, {L"CompanyName", L""}, {L"FileVersion", L"1.2.3.4"}};
    const auto resource = buildVersionResource(fields);
    ASSERT_TRUE(resource);
    EXPECT_EQ(at16(*resource, 0), resource->size());

    Walked walked;
    walk(*resource, 0, resource->size(), L"", walked);
    ASSERT_TRUE(walked.ok);

    const std::vector<std::uint8_t>& fixed = walked.values[L"\\VS_VERSION_INFO"];
    ASSERT_EQ(fixed.size(), 52u);
    EXPECT_EQ(fixed[0], 0xBD); // signature 0xFEEF04BD
    EXPECT_EQ(fixed[3], 0xFE);
    EXPECT_EQ(at16(fixed, 8), 2); // file version MS: 1.2
    EXPECT_EQ(at16(fixed, 10), 1);
    EXPECT_EQ(at16(fixed, 12), 4); // LS: 3.4
    EXPECT_EQ(at16(fixed, 14), 3);
    EXPECT_EQ(at16(fixed, 18), 5); // product version MS: 5.6
    EXPECT_EQ(at16(fixed, 16), 6);

    const std::wstring table = L"\\VS_VERSION_INFO\\StringFileInfo\\040904B0\\";
    EXPECT_EQ(textOf(walked.values[table + L"ProductName"]), std::wstring(L"Viewer") + L'\0');
    EXPECT_EQ(textOf(walked.values[table + L"FileVersion"]), std::wstring(L"1.2.3.4") + L'\0');
    EXPECT_EQ(walked.values.count(table + L"CompanyName"), 0u); // empty values are left out
    const std::vector<std::uint8_t>& translation =
        walked.values[L"\\VS_VERSION_INFO\\VarFileInfo\\Translation"];
    EXPECT_EQ(translation, (std::vector<std::uint8_t>{0x09, 0x04, 0xB0, 0x04}));
}

TEST(VersionResource, TextsTooLongForTheLengthFieldsAreRefused) {
    VersionFields fields;
    fields.strings = {{L"LegalCopyright", std::wstring(20000, L'c')}};
    ASSERT_TRUE(buildVersionResource(fields));
    fields.strings.emplace_back(L"FileDescription", std::wstring(20000, L'd'));
    EXPECT_FALSE(buildVersionResource(fields)); // 80,000 bytes of text
    fields.strings = {{L"LegalCopyright", std::wstring(70000, L'c')}};
    EXPECT_FALSE(buildVersionResource(fields));
}

} // namespace

namespace {

// Catches a reader that loses the fields a re-stamping keeps: every string, an odd-length
// value before the next block's padding, a surrogate pair, and the fixed versions.
TEST(VersionResource, ReadsBackWhatItBuiltAndNothingFromDamage) {
    VersionFields fields;
    fields.fileVersion = {2, 1, 0, 15};
    fields.productVersion = {2, 1, 0, 0};
    fields.strings = {{L"ProductName", L"Viewer Pro"}, {L"FileVersion", L"2.1.0.15"},
                      {L"CompanyName", L"Acme \x00C9" L"ditions \xD83D\xDE00"},
                      {L"OriginalFilename", L"v.exe"}};
    const auto resource = buildVersionResource(fields);
    ASSERT_TRUE(resource);
    const VersionFields read = parseVersionResource(*resource);
    EXPECT_EQ(read.fileVersion, fields.fileVersion);
    EXPECT_EQ(read.productVersion, fields.productVersion);
    EXPECT_EQ(read.strings, fields.strings);

    for (std::size_t cut = 0; cut < resource->size(); cut += 7) {
        std::vector<std::uint8_t> damaged(resource->begin(), resource->begin() + cut);
        const VersionFields partial = parseVersionResource(damaged);
        EXPECT_LE(partial.strings.size(), fields.strings.size()) << cut;
    }
}

} // namespace
