// The settings text a stamped launcher carries: decoded only when it is what the tool writes.
#include "settings/EmbeddedSettingsText.h"
#include "settings/MemorySettingsSource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(EmbeddedSettingsText, RoundTripsThroughTheLaunchersReader) {
    const std::wstring text = L"[App]\r\nCmd=-x \x00E9\xD83D\xDE00\r\n";
    const std::vector<std::uint8_t> bytes = encodeEmbeddedSettingsText(text);
    ASSERT_EQ(bytes.size(), 2 + text.size() * 2);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    EXPECT_EQ(bytes[2], '[');
    EXPECT_EQ(bytes[3], 0);
    EXPECT_EQ(decodeEmbeddedSettingsText(bytes), text);

    MemorySettingsSource source;
    source.load(decodeEmbeddedSettingsText(bytes));
    EXPECT_EQ(source.value(L"App", L"Cmd"), L"-x \x00E9\xD83D\xDE00");
}

TEST(EmbeddedSettingsText, DamagedResourcesCountAsNone) {
    const std::vector<std::vector<std::uint8_t>> damaged = {
        {},                          // empty
        {0xFF},                      // half a mark
        {0xFF, 0xFE, 'A'},           // cut inside a code unit
        {'[', 0, 'A', 0},            // no mark
        {0xFE, 0xFF, 0, '[', 0, 'A'} // big-endian mark
    };
    for (const auto& bytes : damaged)
        EXPECT_EQ(decodeEmbeddedSettingsText(bytes), L"") << bytes.size() << " bytes";
    EXPECT_EQ(decodeEmbeddedSettingsText(std::vector<std::uint8_t>{0xFF, 0xFE}), L"");
}

TEST(EmbeddedSettingsText, RangeInsideDoesNotOverflow) {
    struct Case {
        std::uintptr_t base;
        std::size_t size;
        std::uintptr_t start;
        std::size_t length;
        bool inside;
    };
    const Case cases[] = {
        {0x1000, 0x100, 0x1000, 0x100, true},     {0x1000, 0x100, 0x10F0, 0x10, true},
        {0x1000, 0x100, 0x1100, 0, true},         {0x1000, 0x100, 0x10F0, 0x11, false},
        {0x1000, 0x100, 0x0FFF, 1, false},        {0x1000, 0x100, 0x1101, 0, false},
        {0x1000, 0x100, 0x1010, SIZE_MAX, false}, // start + length wraps around
    };
    for (const Case& c : cases)
        EXPECT_EQ(rangeInside(c.base, c.size, c.start, c.length), c.inside)
            << std::hex << c.start << " + " << c.length;
}

} // namespace
