// Settings read from real INI files through the profile functions, over an embedded layer.
#include "settings/CombinedSettingsSource.h"
#include "settings/IniSettingsSource.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    std::wstring writeIni(const std::wstring& text) {
        const std::wstring path = folder_.file(L"app.ini");
        writeUtf16File(path, text);
        return path;
    }
    TempFolder folder_;
};

TEST_F(SettingsFileTest, PlusSectionExtendsWithOneSpace) {
    CombinedSettingsSource source(writeIni(L"[Application+]\r\nCmd=-verbose\r\nOther= spaced\r\n"), L"");
    EXPECT_EQ(source.value(L"Application", L"Cmd"), L" -verbose");
    // The profile functions strip the blank around a value, so an extension cannot begin
    // with one here; it then gets its separating space like any other.
    EXPECT_EQ(source.value(L"Application", L"Other"), L" spaced");
}

TEST_F(SettingsFileTest, EmptyFileValueDoesNotHidePlusSection) {
    CombinedSettingsSource source(
        writeIni(L"[Application]\r\nCmd=\r\n[Application+]\r\nCmd=-x\r\n"), L"");
    EXPECT_EQ(source.value(L"Application", L"Cmd"), L" -x");
}

TEST_F(SettingsFileTest, FileReplacesEmbeddedAndPlusExtendsIt) {
    const std::wstring embedded = L"[Application]\r\nCmd=-a\r\nKeep=embedded\r\nGrow=base\r\n";
    CombinedSettingsSource source(writeIni(L"[Application]\r\nCmd=-b\r\n[Application+]\r\nCmd=-c\r\n"
                                           L"Grow=more\r\n"),
                                  embedded);
    EXPECT_EQ(source.value(L"Application", L"Cmd"), L"-b");
    EXPECT_EQ(source.value(L"Application", L"Keep"), L"embedded");
    EXPECT_EQ(source.value(L"Application", L"Grow"), L"base more");
    EXPECT_EQ(source.value(L"Application", L"Missing"), L"");
}

TEST_F(SettingsFileTest, ReadsThroughEitherBaseUseTheCombinedRule) {
    CombinedSettingsSource source(writeIni(L"[S+]\r\nK=ext\r\n"), L"[S]\r\nK=emb\r\n");
    std::wstring throughIni, throughMemory;
    static_cast<IniSettingsSource&>(source).read(L"S", L"K", throughIni);
    static_cast<MemorySettingsSource&>(source).read(L"S", L"K", throughMemory);
    EXPECT_EQ(throughIni, L"emb ext");
    EXPECT_EQ(throughMemory, L"emb ext");
}

TEST_F(SettingsFileTest, SectionAndKeyMatchIgnoresCaseInTheFile) {
    IniSettingsSource source(writeIni(L"[Java Runtime Environment]\r\nMain Class=a.B\r\n"));
    EXPECT_EQ(source.value(L"java runtime environment", L"MAIN CLASS"), L"a.B");
}

TEST_F(SettingsFileTest, LongValuesAreReadWhole) {
    for (const size_t length : {254u, 255u, 256u, 511u, 5000u}) {
        std::wstring value(length, L'x');
        value.back() = L'!';
        IniSettingsSource source(writeIni(L"[S]\r\nK=" + value + L"\r\n"));
        EXPECT_EQ(source.value(L"S", L"K"), value) << length;
    }
}

TEST_F(SettingsFileTest, ListWriteAndRemove) {
    const std::wstring path = writeIni(L"[First]\r\na=1\r\n[Second]\r\n");
    IniSettingsSource source(path);
    EXPECT_NE(source.write(L"Third", L"JRE Path", L"C:\\jre\\"), 0);
    std::vector<std::wstring> names;
    source.listSections(names);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"First", L"Second", L"Third"}));
    EXPECT_EQ(IniSettingsSource(path).value(L"Third", L"JRE Path"), L"C:\\jre\\");
    source.removeStore();
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

// The source answers reads of sections and keys the file does not list without asking the
// profile functions; it must answer exactly what they would. The files and names that could
// make the two differ: case, blanks inside the brackets and around keys, letters outside ASCII
// whose upper-case forms are ASCII, sections and keys listed twice, the key only in the
// second of two sections of one name, a key without a value, a comment, a key before any
// section, a section that the source itself adds, a list of keys longer than a first buffer.
TEST_F(SettingsFileTest, ReadsAnswerWhatTheProfileFunctionsWould) {
    std::wstring manyKeys = L"[Application]\r\n";
    for (int i = 0; i < 2000; ++i)
        manyKeys += L"Key " + std::to_wstring(i) + L"=" + std::to_wstring(i) + L"\r\n";
    manyKeys += L"Cmd=last\r\n";
    const std::wstring files[] = {
        manyKeys,
        L"[Application]\r\n  cmd  = spaced\r\nCMD=second\r\n",
        L"[Application]\r\nCmd\r\n;Other=comment\r\n",
        L"[Application]\r\nOther=1\r\n[Application]\r\nCmd=in the second\r\n",
        L"[application]\r\nOther=2\r\n[APPLICATION]\r\nCmd=in the second\r\n",
        L"[Java Runtime Environment]\r\nMain Cla\x017F" L"s=h.I\r\nC\x0131" L"MD=x\r\n",
        L"[java RUNTIME environment]\r\nMain Class=a.B\r\n",
        L"[  Java Runtime Environment\t]\r\nMain Class=c.D\r\n",
        L"[Java Runtime Environment ]\r\nMain Class=e.F\r\n[Application+]\r\nCmd=x\r\n",
        L"[Java Runt\x0131me Environment]\r\nMain Class=g.H\r\n[\x017F" L"ection]\r\nK=s\r\n",
        L"Main Class=orphan\r\n[Other]\r\nK=1\r\n[Other]\r\nK=2\r\n",
        L"\xFEFF[Application]\r\nCmd=y\r\n",
        L"",
    };
    const std::pair<const wchar_t*, const wchar_t*> reads[] = {
        {L"Java Runtime Environment", L"Main Class"}, {L"Application", L"Cmd"},
        {L"Application+", L"Cmd"}, {L"Section", L"K"}, {L"SECTION", L"K"}, {L"Other", L"K"},
        {L"", L"Main Class"}, {L"Application", L"Other"}, {L"Java Runtime Environment", L"CMD"},
        {L"Application", L"Key 1999"}};
    for (const std::wstring& text : files) {
        const std::wstring path = writeIni(text);
        IniSettingsSource source(path);
        for (const auto& [section, key] : reads) {
            wchar_t expected[256] = L"";
            GetPrivateProfileStringW(section, key, L"", expected, 256, path.c_str());
            EXPECT_EQ(narrow(source.value(section, key)), narrow(expected))
                << narrow(text) << " [" << narrow(section) << "] " << narrow(key);
        }
    }
}

TEST_F(SettingsFileTest, ASectionWrittenThroughTheSourceIsReadBack) {
    const std::wstring path = folder_.file(L"user.ini");
    IniSettingsSource source(path);
    EXPECT_EQ(source.value(L"Java Runtime Environment", L"JRE Path"), L"");
    ASSERT_NE(source.write(L"Java Runtime Environment", L"JRE Path", L"C:\\jre\\"), 0);
    EXPECT_EQ(source.value(L"Java Runtime Environment", L"JRE Path"), L"C:\\jre\\");
    source.removeStore();
    EXPECT_EQ(source.value(L"Java Runtime Environment", L"JRE Path"), L"");
    ASSERT_NE(source.write(L"Java Runtime Environment", L"JRE Path", L"D:\\jre\\"), 0);
    EXPECT_EQ(source.value(L"Java Runtime Environment", L"JRE Path"), L"D:\\jre\\");
}

TEST_F(SettingsFileTest, MissingFileReadsEmpty) {
    CombinedSettingsSource source(folder_.file(L"absent.ini"), L"");
    EXPECT_EQ(source.value(L"Java Runtime Environment", L"Main Class"), L"");
    std::vector<std::wstring> names;
    source.IniSettingsSource::listSections(names);
    EXPECT_TRUE(names.empty());
}

TEST_F(SettingsFileTest, EmbeddedTextParsedUnderWindows) {
    // The embedded layer alone: duplicate sections and keys, a header with inner brackets.
    CombinedSettingsSource source(folder_.file(L"absent.ini"),
                                  L"\xFEFF[App]\r\nA = 1\r\n  [Main] x]  \r\nk=v\r\n[App]\r\nA=2\r\n");
    EXPECT_EQ(source.value(L"App", L"A"), L"1");
    EXPECT_EQ(source.value(L"Main] x", L"k"), L"v");
    std::vector<std::wstring> names;
    source.MemorySettingsSource::listSections(names);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"App", L"Main] x", L"App"}));
}

} // namespace
