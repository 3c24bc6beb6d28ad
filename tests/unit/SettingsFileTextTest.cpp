// Settings files as the stamping tool takes them: decoded, line ends made CR LF, and refused
// when a line would not mean what its writer meant to the launcher's reader.
#include "SettingsFileText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<std::uint8_t> utf16le(const std::u16string& text) {
    std::vector<std::uint8_t> bytes{0xFF, 0xFE};
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

TEST(SettingsFileText, DecodesAndMakesEveryLineEndCrLf) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::wstring text;
    };
    const std::vector<Case> cases = {
        {"LF ends", bytesOf("[A]\nk=v\n"), L"[A]\r\nk=v\r\n"},
        {"CR LF ends", bytesOf("[A]\r\nk=v\r\n"), L"[A]\r\nk=v\r\n"},
        {"lone CR ends, no final end", bytesOf("[A]\rk=v"), L"[A]\r\nk=v"},
        {"blank lines and comments kept", bytesOf("; c\n\n[A]\n# c\n\n"),
         L"; c\r\n\r\n[A]\r\n# c\r\n\r\n"},
        {"UTF-8 with mark", bytesOf("\xEF\xBB\xBF[A]\nk=\xC3\xA9\xF0\x9F\x98\x80"),
         L"[A]\r\nk=\x00E9\xD83D\xDE00"},
        {"UTF-16LE with mark", utf16le(u"[A]\nk=\u00E9\U0001F600\r\n"),
         L"[A]\r\nk=\x00E9\xD83D\xDE00\r\n"},
        {"tabs and quotes are text", bytesOf("[A]\n\tk = \"v\"\t\n"), L"[A]\r\n\tk = \"v\"\t\r\n"},
        {"empty file", {}, L""},
    };
    for (const Case& c : cases) {
        const SettingsFileText result = settingsTextFromFile(c.bytes);
        EXPECT_EQ(result.problem, SettingsFileProblem::none) << c.name;
        EXPECT_EQ(result.text, c.text) << c.name;
    }
}

TEST(SettingsFileText, RefusesFilesThatDoNotParse) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        SettingsFileProblem problem;
        std::size_t line;
    };
    std::vector<std::uint8_t> oddUtf16 = utf16le(u"[A]");
    oddUtf16.push_back('x');
    const std::vector<Case> cases = {
        {"Windows-1252 text", bytesOf("[A]\nk=caf\xE9\n"), SettingsFileProblem::notUtf8OrUtf16, 2},
        {"overlong UTF-8", bytesOf("[A]\n\n\nk=\xC0\xAF"), SettingsFileProblem::notUtf8OrUtf16, 4},
        {"UTF-8 surrogate", bytesOf("[A]\nk=\xED\xA0\x80"), SettingsFileProblem::notUtf8OrUtf16, 2},
        {"UTF-8 cut short", bytesOf("[A]\nk=\xE2\x82"), SettingsFileProblem::notUtf8OrUtf16, 2},
        {"UTF-16 with odd length", oddUtf16, SettingsFileProblem::notUtf8OrUtf16, 1},
        {"UTF-16 lone surrogate", utf16le(u"[A]\nk=\xD800x"), SettingsFileProblem::notUtf8OrUtf16,
         2},
        {"binary garbage", bytesOf(std::string("[A]\nk=\x01\x02", 8)),
         SettingsFileProblem::controlCharacter, 2},
        {"NUL byte", bytesOf(std::string("[A]\0", 4)), SettingsFileProblem::controlCharacter, 1},
        {"a line without =", bytesOf("[A]\nk=v\njust words\n"), SettingsFileProblem::notASetting,
         3},
        {"header without ]", bytesOf("[Java Runtime Environment\nk=v\n"),
         SettingsFileProblem::notASetting, 1},
        {"setting before any section", bytesOf("\nk=v\n[A]\n"), SettingsFileProblem::outsideSection,
         2},
        {"empty key", bytesOf("[A]\n  =v\n"), SettingsFileProblem::emptyKey, 2},
    };
    for (const Case& c : cases) {
        const SettingsFileText result = settingsTextFromFile(c.bytes);
        EXPECT_EQ(result.problem, c.problem) << c.name;
        EXPECT_EQ(result.line, c.line) << c.name;
    }
}

TEST(SettingsFileText, AcceptsWhatTheLaunchersReaderTakesAsAHeader) {
    // The launcher's header rule: blanks around, "]" inside the name, "=" inside the name.
    const SettingsFileText result = settingsTextFromFile(bytesOf("  [Main] x]  \n[a=b]\nk=v\n"));
    EXPECT_EQ(result.problem, SettingsFileProblem::none);
}

} // namespace
