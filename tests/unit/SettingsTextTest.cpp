// The embedded settings text and the combined read rule.
#include "settings/MemorySettingsSource.h"

#include <gtest/gtest.h>

namespace {

std::wstring read(MemorySettingsSource& source, const std::wstring& section, const std::wstring& key) {
    std::wstring value = L"stale";
    source.read(section, key, value);
    return value;
}

std::vector<std::wstring> sectionNames(MemorySettingsSource& source) {
    std::vector<std::wstring> names;
    source.listSections(names);
    return names;
}

TEST(SettingsText, FirstSectionAndFirstKeyWin) {
    MemorySettingsSource source;
    source.load(L"[App]\r\nA = 1\r\nA=3\r\n[Other]\r\nB=x\r\n[App]\r\nA=2\r\nC=4\r\n");
    EXPECT_EQ(read(source, L"App", L"A"), L"1");
    // A key only in the later duplicate section is not found: the first section answers.
    EXPECT_EQ(read(source, L"App", L"C"), L"");
    EXPECT_EQ(sectionNames(source), (std::vector<std::wstring>{L"App", L"Other", L"App"}));
}

TEST(SettingsText, NamesAndKeysCompareExactly) {
    MemorySettingsSource source;
    source.load(L"[App]\r\nKey=v\r\n");
    EXPECT_EQ(read(source, L"app", L"Key"), L"");
    EXPECT_EQ(read(source, L"App", L"key"), L"");
    EXPECT_EQ(read(source, L"App", L"Key"), L"v");
}

TEST(SettingsText, HeaderRules) {
    MemorySettingsSource source;
    source.load(L"  [Main] x]  \r\nk=1\r\n\t[]\r\nk=2\r\n[Open\r\nk=3\r\n [a=b] \r\nk=4\r\n");
    EXPECT_EQ(sectionNames(source), (std::vector<std::wstring>{L"Main] x", L"", L"a=b"}));
    EXPECT_EQ(read(source, L"Main] x", L"k"), L"1");
    EXPECT_EQ(read(source, L"", L"k"), L"2");
    // "[Open" is no header, and a line with "=" inside the current section is a pair.
    EXPECT_EQ(read(source, L"a=b", L"k"), L"4");
}

TEST(SettingsText, PairsAreTrimmedAndSplitAtFirstEquals) {
    MemorySettingsSource source;
    source.load(L"[S]\r\n  Path \t=  a=b=c  \r\nEmpty=\r\n=novalue\r\nno equals here\r\n");
    EXPECT_EQ(read(source, L"S", L"Path"), L"a=b=c");
    EXPECT_EQ(read(source, L"S", L"Empty"), L"");
    EXPECT_EQ(read(source, L"S", L""), L"novalue");
    EXPECT_EQ(read(source, L"S", L"no equals here"), L"");
}

TEST(SettingsText, LinesOutsideSectionsAndBomAreIgnored) {
    MemorySettingsSource source;
    source.load(L"\xFEFF" L"Key=before\r\n[S]\r\nKey=after");
    EXPECT_EQ(sectionNames(source), (std::vector<std::wstring>{L"S"}));
    EXPECT_EQ(read(source, L"S", L"Key"), L"after");
}

TEST(SettingsText, BomBeforeHeaderIsRemoved) {
    MemorySettingsSource source;
    source.load(L"\xFEFF[S]\r\nKey=v\r\n");
    EXPECT_EQ(read(source, L"S", L"Key"), L"v");
}

TEST(SettingsText, OnlyCarriageReturnLineFeedSeparatesLines) {
    MemorySettingsSource source;
    // A bare line feed does not end a line, so "B=2" stays part of A's value.
    source.load(L"[S]\r\nA=1\nB=2\r\n");
    EXPECT_EQ(read(source, L"S", L"A"), L"1\nB=2");
    EXPECT_EQ(read(source, L"S", L"B"), L"");
}

TEST(SettingsText, LoadReplacesAndEmptyTextClears) {
    MemorySettingsSource source;
    source.load(L"[S]\r\nA=1\r\n");
    source.load(L"");
    EXPECT_TRUE(sectionNames(source).empty());
    EXPECT_EQ(read(source, L"S", L"A"), L"");
}

TEST(SettingsText, WriteAppendsWithoutReplacing) {
    MemorySettingsSource source;
    EXPECT_NE(source.write(L"S", L"A", L"1"), 0);
    source.write(L"S", L"A", L"2");
    source.write(L"T", L"B", L"3");
    EXPECT_EQ(read(source, L"S", L"A"), L"1");
    EXPECT_EQ(read(source, L"T", L"B"), L"3");
    EXPECT_EQ(sectionNames(source), (std::vector<std::wstring>{L"S", L"T"}));
}

TEST(CombinedValue, FileReplacesPlusExtends) {
    struct Case {
        const wchar_t* embedded;
        const wchar_t* file;
        const wchar_t* extension;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"", L"", L"", L""},
        {L"base", L"", L"", L"base"},
        {L"base", L"file", L"ext", L"file"},
        {L"base", L"", L"ext", L"base ext"},
        {L"base", L"", L" ext", L"base ext"},
        {L"", L"", L"-verbose", L" -verbose"},
        {L"", L"", L"  two", L"  two"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(combineSettingValue(c.embedded, c.file, c.extension), c.expected)
            << "embedded '" << c.embedded << "' file '" << c.file << "' ext '" << c.extension << "'";
}

} // namespace
