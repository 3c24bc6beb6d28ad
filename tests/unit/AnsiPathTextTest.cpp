// VM options as ANSI text: paths the code page cannot hold go by their short names, element by
// element, and everything the code page holds keeps its bytes.
#include "javaopts/AnsiPathText.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// A Western code page in miniature: ASCII and e-acute (0xE9) convert; Greek alpha best-fits to
// 'a'; anything else becomes the default character '?'.
AnsiText westernText(const std::wstring& text) {
    AnsiText result;
    for (const wchar_t c : text) {
        if (c < 0x80) {
            result.bytes += static_cast<char>(c);
        } else if (c == L'\u00E9') {
            result.bytes += '\xE9';
        } else {
            result.bytes += c == L'\u03B1' ? 'a' : '?';
            result.lossless = false;
        }
    }
    return result;
}

// Short names of the folders that exist; a volume without short names returns the long path.
const std::map<std::wstring, std::wstring> shortNames{
    {L"C:\\\u041F\u0440\u0438\u043B\\lib\\app.jar", L"C:\\PRI~1\\lib\\app.jar"},
    {L"C:\\\u03B1pp\\native", L"C:\\PP~1\\native"},
    {L"D:\\\u6F22\u5B57\\x.jar", L"D:\\\u6F22\u5B57\\x.jar"},
};

std::wstring shortNameOf(const std::wstring& path) {
    const auto found = shortNames.find(path);
    return found == shortNames.end() ? std::wstring{} : found->second;
}

std::string optionText(const std::wstring& option) {
    return vmOptionAnsiText(option, westernText, shortNameOf);
}

TEST(AnsiPathText, PathListElementsThatLoseCharactersGoByTheirShortNames) {
    struct Row {
        std::wstring option;
        std::string expected;
    };
    const std::vector<Row> rows{
        // What the code page holds is converted as it always was, short names or not.
        {L"-Djava.class.path=C:\\caf\u00E9\\a.jar;C:\\b.jar;",
         "-Djava.class.path=C:\\caf\xE9\\a.jar;C:\\b.jar;"},
        // Only the element that loses characters changes; the others keep their bytes.
        {L"-Djava.class.path=C:\\caf\u00E9\\a.jar;C:\\\u041F\u0440\u0438\u043B\\lib\\app.jar;",
         "-Djava.class.path=C:\\caf\xE9\\a.jar;C:\\PRI~1\\lib\\app.jar;"},
        // A best fit is a loss too: the VM would look for C:\app\native.
        {L"-Djava.library.path=C:\\\u03B1pp\\native;.;C:\\Windows",
         "-Djava.library.path=C:\\PP~1\\native;.;C:\\Windows"},
        // Without a short name (a missing folder, a volume without short names) the element
        // stays as it was converted before.
        {L"-Djava.class.path=C:\\\u041C\u0438\u0440\\gone.jar;;D:\\\u6F22\u5B57\\x.jar;",
         "-Djava.class.path=C:\\???\\gone.jar;;D:\\??\\x.jar;"},
        // Other options are not paths: converted whole, however lossy.
        {L"-Dapp.title=\u041F\u0440\u0438\u043B", "-Dapp.title=????"},
        {L"-Djava.class.path.extra=C:\\\u03B1pp\\native",
         "-Djava.class.path.extra=C:\\app\\native"},
        {L"-Djava.class.path=", "-Djava.class.path="},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.option));
        EXPECT_EQ(optionText(row.option), row.expected);
    }
}

TEST(AnsiPathText, SinglePathForTheSplashLibrary) {
    EXPECT_EQ(ansiPathText(L"C:\\caf\u00E9\\splash.png", westernText, shortNameOf),
              "C:\\caf\xE9\\splash.png");
    EXPECT_EQ(ansiPathText(L"C:\\\u03B1pp\\native", westernText, shortNameOf), "C:\\PP~1\\native");
    EXPECT_EQ(ansiPathText(L"C:\\\u03B1\\missing.png", westernText, shortNameOf),
              "C:\\a\\missing.png");
}

} // namespace
