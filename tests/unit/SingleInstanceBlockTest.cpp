// The shared block's argument area: what a later launch writes and what the first instance
// reads back, including areas that no launcher wrote.
#include "launcher/SingleInstanceBlock.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using Arguments = std::vector<std::wstring>;
using Area = std::array<unsigned char, kArgumentAreaSize>;

// An area holding these UTF-16 code units from its start, the rest filled with `rest`.
Area areaOf(const std::u16string& units, unsigned char rest = 0) {
    Area area;
    area.fill(rest);
    for (size_t i = 0; i < units.size(); ++i) {
        area[2 * i] = static_cast<unsigned char>(units[i] & 0xFF);
        area[2 * i + 1] = static_cast<unsigned char>(units[i] >> 8);
    }
    return area;
}

TEST(SingleInstanceBlock, InstanceNameReplacesEveryBackslash) {
    EXPECT_EQ(instanceNameFor(L"C:\\Apps\\Viewer\\viewer.exe"), L"C:_Apps_Viewer_viewer.exe");
    EXPECT_EQ(instanceNameFor(L"\\\\server\\share\\a b.exe"), L"__server_share_a b.exe");
}

TEST(SingleInstanceBlock, ArgumentsFitUpTo1040EncodedBytes) {
    struct Row {
        Arguments arguments;
        size_t size;
        bool fits;
    };
    const std::vector<Row> rows{
        {{}, 2, true},
        {{L""}, 4, true},
        {{L"one", L"two three"}, 2 + 8 + 20, true},
        {{std::wstring(518, L'x')}, 1040, true},
        {{std::wstring(519, L'x')}, 1042, false},
        {{std::wstring(258, L'x'), std::wstring(258, L'y')}, 1038, true},
        {{std::wstring(258, L'x'), std::wstring(259, L'y')}, 1040, true},
        {{std::wstring(259, L'x'), std::wstring(259, L'y')}, 1042, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.size);
        EXPECT_EQ(encodedArgumentsSize(row.arguments), row.size);
        Area area;
        area.fill(0xAB);
        ASSERT_EQ(encodeForwardedArguments(row.arguments, area), row.fits);
        if (!row.fits) {
            // Refused before anything was written: the previous launch's text stays whole.
            EXPECT_EQ(area, areaOf(u"", 0xAB));
            continue;
        }
        EXPECT_EQ(decodeForwardedArguments(area),
                  row.arguments.empty() ? Arguments{L""} : row.arguments);
        // The first 1040 bytes are cleared behind the list, and not one byte beyond them is
        // written.
        for (size_t i = row.size; i < kArgumentWriteLimit; ++i)
            ASSERT_EQ(area[i], 0) << i;
        for (size_t i = kArgumentWriteLimit; i < kArgumentAreaSize; ++i)
            ASSERT_EQ(area[i], 0xAB) << i;
    }
}

TEST(SingleInstanceBlock, CodeUnitsAreLittleEndianUtf16) {
    // e-acute, a CJK character and a surrogate pair travel as their code units.
    const Arguments arguments{std::wstring{L'\u00e9', L'\u4e2d', wchar_t(0xD83D), wchar_t(0xDE00)}};
    Area area{};
    ASSERT_TRUE(encodeForwardedArguments(arguments, area));
    EXPECT_EQ(area, areaOf(u"\u00e9\u4e2d\xD83D\xDE00"));
    EXPECT_EQ(decodeForwardedArguments(area), arguments);
}

TEST(SingleInstanceBlock, DecodingFollowsTheZeroCharacters) {
    struct Row {
        const char* name;
        std::u16string units;
        unsigned char rest;
        Arguments expected;
    };
    const std::u16string full(kArgumentReadLimit / 2, u'x');
    const std::vector<Row> rows{
        {"double zero at the start", u"", 0, {L""}},
        {"two arguments", std::u16string(u"a\0bc\0\0", 6), 0, {L"a", L"bc"}},
        {"an empty argument ends the list", std::u16string(u"a\0\0b\0\0", 6), 0, {L"a"}},
        {"a single zero at the start", std::u16string(u"\0x\0\0", 4), 0, {L"", L"x"}},
        {"nothing ends the last argument", full, 0, {}},
        {"the last readable unit ends the argument",
         std::u16string(kArgumentReadLimit / 2 - 1, u'x') + u'\0',
         'y',
         {std::wstring(kArgumentReadLimit / 2 - 1, L'x')}},
        {"a zero beyond byte 2090 is not read", full + u'\0', 0, {}},
        {"an argument cut off at the limit is dropped",
         std::u16string(u"a\0", 2) + std::u16string(kArgumentReadLimit / 2 - 2, u'z'),
         'z',
         {L"a"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(decodeForwardedArguments(areaOf(row.units, row.rest)), row.expected);
    }
}

TEST(SingleInstanceBlock, DecodingAShortBufferStaysInsideIt) {
    const std::vector<unsigned char> bytes{'a', 0, 0, 0, 'b', 0, 0};
    EXPECT_EQ(decodeForwardedArguments(std::span(bytes).first(5)), Arguments{L"a"});
    EXPECT_EQ(decodeForwardedArguments(std::span(bytes).subspan(4)), Arguments{});
    EXPECT_EQ(decodeForwardedArguments(std::span<const unsigned char>()), Arguments{});
}

} // namespace
