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
    // A folder with a short name inside one without (8.3 names turned on after it was made).
    {L"E:\\\u6F22\\\u041C\u0438\u0440\\a.jar", L"E:\\\u6F22\\MIR~1\\a.jar"},
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

// A process whose code page is UTF-8 holds every character.
AnsiText utf8Text(const std::wstring& text) {
    AnsiText result;
    for (const wchar_t c : text)
        result.bytes += c < 0x80 ? static_cast<char>(c) : '*'; // byte values do not matter here
    return result;
}

TEST(AnsiPathText, ConvertsShortensOrRefusesAPath) {
    struct Row {
        std::wstring path;
        AnsiConversion convert;
        AnsiPathForm form;
        std::string bytes;
    };
    const std::wstring cyrillicJar = L"C:\\\u041F\u0440\u0438\u043B\\lib\\app.jar";
    const std::vector<Row> rows{
        {L"C:\\caf\u00E9\\a.jar", westernText, AnsiPathForm::converted, "C:\\caf\xE9\\a.jar"},
        {cyrillicJar, westernText, AnsiPathForm::shortened, "C:\\PRI~1\\lib\\app.jar"},
        // UTF-8 needs no short name, even where there is one.
        {cyrillicJar, utf8Text, AnsiPathForm::converted, "C:\\****\\lib\\app.jar"},
        {L"D:\\\u6F22\u5B57\\x.jar", utf8Text, AnsiPathForm::converted, "D:\\**\\x.jar"},
        // Missing: no name would find it, so it goes as it always went.
        {L"C:\\\u041C\\gone.jar", westernText, AnsiPathForm::lossy, "C:\\?\\gone.jar"},
        // Exists, but its short form keeps a name the code page lacks.
        {L"D:\\\u6F22\u5B57\\x.jar", westernText, AnsiPathForm::unnamed, "D:\\??\\x.jar"},
        {L"E:\\\u6F22\\\u041C\u0438\u0440\\a.jar", westernText, AnsiPathForm::unnamed,
         "E:\\?\\???\\a.jar"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.path));
        const AnsiPathChoice choice = chooseAnsiPath(row.path, row.convert, shortNameOf);
        EXPECT_EQ(choice.form, row.form);
        EXPECT_EQ(choice.bytes, row.bytes);
    }
}

TEST(AnsiPathText, OptionReportsTheFirstPathWithoutAName) {
    std::wstring unnamed;
    const std::string text = vmOptionAnsiText(
        L"-Djava.class.path=C:\\\u041F\u0440\u0438\u043B\\lib\\app.jar;D:\\\u6F22\u5B57\\x.jar;"
        L"E:\\\u6F22\\\u041C\u0438\u0440\\a.jar",
        westernText, shortNameOf, &unnamed);
    // The text is still whole, for a caller that only warns.
    EXPECT_EQ(text, "-Djava.class.path=C:\\PRI~1\\lib\\app.jar;D:\\??\\x.jar;E:\\?\\???\\a.jar");
    EXPECT_EQ(unnamed, L"D:\\\u6F22\u5B57\\x.jar");

    // A missing element is no reason to refuse; neither is any option in UTF-8.
    unnamed.clear();
    (void)vmOptionAnsiText(L"-Djava.library.path=C:\\\u041C\\gone", westernText, shortNameOf,
                           &unnamed);
    (void)vmOptionAnsiText(L"-Djava.class.path=D:\\\u6F22\u5B57\\x.jar", utf8Text, shortNameOf,
                           &unnamed);
    EXPECT_EQ(unnamed, L"");
}

} // namespace
