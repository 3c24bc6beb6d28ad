// The browser's anchor colour texts and which registry values may hold one.
#include "ui/ColorText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ColorText, ReadsRedGreenBlue) {
    struct Case {
        const wchar_t* text;
        std::optional<uint32_t> colour;
    };
    const Case cases[] = {
        {L"0,0,255", 0x00FF0000u},
        {L"128,0,128", 0x00800080u},
        {L"255,0,0", 0x000000FFu},
        {L"1,2,3", 0x00030201u},
        // Read as wcstol reads: blanks and a sign before the number, stop at a non-digit.
        {L" 12, +34,\t56", 0x0038220Cu},
        {L"12px,0,0 trailing", 0x0000000Cu},
        {L"x,y,z", 0x00000000u},
        // Values are cut to their low 8 bits.
        {L"256,511,-2", 0x00FEFF00u},
        {L"0,0,-1", 0x00FF0000u},
        // Clamped as a 32-bit long: 2147483647 and -2147483648.
        {L"99999999999,-99999999999,0", 0x000000FFu},
        // Too few parts, an empty last part, or -1 in the first two parts: no colour.
        {L"", std::nullopt},
        {L"255", std::nullopt},
        {L"255,0", std::nullopt},
        {L"255,0,", std::nullopt},
        {L"-1,0,0", std::nullopt},
        {L"0,-1,0", std::nullopt},
        {L" -1,0,0", std::nullopt},
        // A fourth part is part of the third, which stops reading at its comma.
        {L"1,2,3,4", 0x00030201u},
        {L",,7", 0x00070000u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(parseColorText(c.text), c.colour);
    }
}

TEST(ColorText, RegistryValueMustBeATerminatedString) {
    const wchar_t text[] = L"255,0,0";
    const size_t bytes = (std::wstring_view(text).size() + 1) * 2;
    struct Case {
        const char* name;
        uint32_t type;
        size_t bytes;
        std::optional<std::wstring_view> expected;
    };
    const Case cases[] = {
        {"REG_SZ", 1, bytes, L"255,0,0"},
        {"REG_EXPAND_SZ", 2, bytes, L"255,0,0"},
        {"empty", 1, 0, L""},
        {"REG_DWORD", 4, bytes, std::nullopt},
        {"REG_BINARY", 3, bytes, std::nullopt},
        {"not terminated", 1, bytes - 2, std::nullopt},
        {"half a character", 1, bytes - 1, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(colorValueText(c.type, text, c.bytes), c.expected);
    }
    // A NUL inside ends the text, as it ends a C string.
    const wchar_t inner[] = L"0,0\0,255";
    EXPECT_EQ(colorValueText(1, inner, sizeof inner / sizeof inner[0] * 2), L"0,0");
}

} // namespace
