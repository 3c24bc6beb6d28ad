// UTF-8 to UTF-16 code units and back, as the tool meets file names and arguments outside
// Windows.
#include "Utf8Text.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8Text, EveryByteSequenceComesBackAsItWas) {
    struct Case {
        const char* name;
        std::string utf8;
        std::wstring units;
    };
    const Case cases[] = {
        {"ASCII", "app.exe", L"app.exe"},
        {"two and three bytes", "caf\xC3\xA9 \xE2\x82\xAC", L"caf\x00E9 \x20AC"},
        // A wchar_t per code unit even where wchar_t has 32 bits: the resources need UTF-16.
        {"beyond the first plane", "\xF0\x9F\x98\x80", std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)}},
        {"a Latin-1 file name", "caf\xE9.ico", std::wstring(L"caf") + wchar_t(0xDCE9) + L".ico"},
        {"an overlong slash", "\xC0\xAF", std::wstring{wchar_t(0xDCC0), wchar_t(0xDCAF)}},
        {"an encoded surrogate", "\xED\xA0\x80",
         std::wstring{wchar_t(0xDCED), wchar_t(0xDCA0), wchar_t(0xDC80)}},
        {"cut short", "a\xE2\x82", std::wstring{L'a', wchar_t(0xDCE2), wchar_t(0xDC82)}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(unitsFromUtf8(c.utf8), c.units) << c.name;
        EXPECT_EQ(utf8FromUnits(c.units), c.utf8) << c.name;
    }
    // A lone surrogate that came from no byte has no UTF-8 form.
    EXPECT_EQ(utf8FromUnits(std::wstring{wchar_t(0xD800), L'x'}), "\xEF\xBF\xBD" "x");
}

} // namespace
