// Decoding the modified UTF-8 that Java hands back for class names.
#include "jvm/ModifiedUtf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Utf8Case {
    std::string bytes;
    std::wstring text;
};

TEST(ModifiedUtf8, DecodesToUtf16CodeUnits) {
    const std::vector<Utf8Case> cases = {
        {"", L""},
        {"com/example/App", L"com/example/App"},
        {"caf\xC3\xA9/\xE2\x82\xAC", std::wstring(L"caf") + wchar_t(0xE9) + L"/" + wchar_t(0x20AC)},
        // NUL is written as two bytes, so a class name never holds a raw zero byte.
        {"a\xC0\x80"
         "b",
         std::wstring(L"a") + wchar_t(0) + L"b"},
        // U+1F600 as two encoded surrogates stays two UTF-16 code units.
        {"\xED\xA0\xBD\xED\xB8\x80", std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)}},
        // Malformed and cut-off sequences each give one replacement character per bad byte.
        {"a\x80"
         "b",
         std::wstring(L"a") + wchar_t(0xFFFD) + L"b"},
        {"x\xC3", std::wstring(L"x") + wchar_t(0xFFFD)},
        {"\xE2\x82", std::wstring{wchar_t(0xFFFD), wchar_t(0xFFFD)}},
        {"\xE2"
         "ab",
         std::wstring(1, wchar_t(0xFFFD)) + L"ab"},
    };
    for (const Utf8Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(decodeModifiedUtf8(c.bytes), c.text);
        // The well-formed rows are what the launcher hands FindClass for the same names.
        if (c.text.find(wchar_t(0xFFFD)) == std::wstring::npos)
            EXPECT_EQ(encodeModifiedUtf8(c.text), c.bytes);
    }
}

} // namespace
