// The lines of the launch trace: every text a launch can meet (paths with quotes or lone
// surrogates, options with control characters) must come out as one valid JSON line.
#include "launcher/TraceJson.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

std::wstring jsonString(std::wstring_view text) {
    std::wstring out;
    appendJsonString(out, text);
    return out;
}

TEST(TraceJson, StringsAreEscapedAndLoneSurrogatesKept) {
    struct Row {
        std::wstring text;
        std::wstring json;
    };
    const Row rows[] = {
        {L"", L"\"\""},
        {L"C:\\Program Files\\App", L"\"C:\\\\Program Files\\\\App\""},
        {L"-Dtitle=\"My App\"", L"\"-Dtitle=\\\"My App\\\"\""},
        {L"a\nb\rc\td", L"\"a\\nb\\rc\\td\""},
        {std::wstring(L"nul\0x", 5), L"\"nul\\u0000x\""},
        {L"\x01\x1f\x7f", L"\"\\u0001\\u001f\x7f\""},
        // A pair passes as it is and becomes four bytes of UTF-8.
        {L"caf\u00e9 \U0001F600", L"\"caf\u00e9 \U0001F600\""},
        // Lone halves, at the end, at the start, reversed, or doubled.
        {L"a\xD800", L"\"a\\ud800\""},
        {L"\xDC00z", L"\"\\udc00z\""},
        {L"\xDC00\xD800", L"\"\\udc00\\ud800\""},
        {L"\xD800\xD800\xDC00", L"\"\\ud800\xD800\xDC00\""},
        {L"\u2028", L"\"\u2028\""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(jsonString(row.text), row.json);
}

TEST(TraceJson, LineIsOneObjectEndedByALineFeed) {
    JsonLine line;
    line.number("us", 1234)
        .word("ev", "setting")
        .text("value", L"two\nlines")
        .flag("ok", false)
        .number("min", std::numeric_limits<int64_t>::min());
    EXPECT_EQ(line.finish(), L"{\"us\":1234,\"ev\":\"setting\",\"value\":\"two\\nlines\","
                             L"\"ok\":false,\"min\":-9223372036854775808}\n");
    EXPECT_EQ(JsonLine().finish(), L"{}\n");
}

} // namespace
