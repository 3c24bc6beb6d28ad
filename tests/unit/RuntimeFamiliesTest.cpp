// Which registry families are searched and favoured, home folders and the JVM library probe
// order: the rules the registry enumeration applies to each family.
#include "runtime/RuntimeFamilies.h"
#include "runtime/RegistryText.h"

#include "RuntimeSourceTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The five families, by their position in the search order.
enum Family { SunJdk, SunJre, JRockitJre, JRockitJdk, IbmJre };

std::vector<Family> searched(const RuntimeSourceSettings& settings) {
    std::vector<Family> result;
    for (int i = 0; i < 5; ++i) {
        if (isFamilySearched(runtimeFamilies()[i], settings))
            result.push_back(static_cast<Family>(i));
    }
    return result;
}

std::vector<Family> favored(const RuntimeSourceSettings& settings) {
    std::vector<Family> result;
    for (int i = 0; i < 5; ++i) {
        if (isFamilyFavored(runtimeFamilies()[i], settings))
            result.push_back(static_cast<Family>(i));
    }
    return result;
}

TEST(RuntimeFamilies, KeysInSearchOrder) {
    const auto& families = runtimeFamilies();
    EXPECT_STREQ(families[SunJdk].key, L"Software\\JavaSoft\\Java Development Kit\\");
    EXPECT_STREQ(families[SunJre].key, L"Software\\JavaSoft\\Java Runtime Environment\\");
    EXPECT_STREQ(families[JRockitJre].key, L"Software\\JRockit\\Java Runtime Environment\\");
    EXPECT_STREQ(families[JRockitJdk].key, L"Software\\JRockit\\Java Development Kit\\");
    EXPECT_STREQ(families[IbmJre].key, L"Software\\IBM\\Java2 Runtime Environment\\");
}

TEST(RuntimeFamilies, SearchedAndFavouredBySourceAndProvider) {
    struct Row {
        const wchar_t* jvmSource;
        const wchar_t* vmProvider;
        std::vector<Family> searched;
        std::vector<Family> favored;
    };
    const std::vector<Row> rows{
        {L"", L"", {SunJdk, SunJre}, {SunJdk, SunJre}},
        {L"", L"any", {SunJdk, SunJre, JRockitJre, JRockitJdk, IbmJre}, {}},
        {L"", L"jrockit", {JRockitJre, JRockitJdk}, {JRockitJre, JRockitJdk}},
        {L"", L"ibm", {IbmJre}, {IbmJre}},
        {L"", L"favor_ibm", {SunJdk, SunJre, JRockitJre, JRockitJdk, IbmJre}, {IbmJre}},
        {L"",
         L"FAVOR_JROCKIT",
         {SunJdk, SunJre, JRockitJre, JRockitJdk, IbmJre},
         {JRockitJre, JRockitJdk}},
        // Favour mode searches the other kind too but favours only the wanted one.
        {L"favor_JRE", L"", {SunJdk, SunJre}, {SunJre}},
        {L"favor_JDK", L"any", {SunJdk, SunJre, JRockitJre, JRockitJdk, IbmJre}, {}},
        {L"favor_JDK",
         L"favor_jrockit",
         {SunJdk, SunJre, JRockitJre, JRockitJdk, IbmJre},
         {JRockitJdk}},
        // Only-modes never search the other kind.
        {L"only_JRE", L"any", {SunJre, JRockitJre, IbmJre}, {}},
        {L"only_JDK", L"", {SunJdk}, {SunJdk}},
        {L"only_JDK", L"ibm", {}, {}},
        // An unknown source wants neither kind and allows no other: nothing is searched.
        {L"JRE", L"any", {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << (&row - rows.data()));
        const RuntimeSourceSettings settings = sourcesFromTexts(row.jvmSource, row.vmProvider);
        EXPECT_EQ(searched(settings), row.searched);
        EXPECT_EQ(favored(settings), row.favored);
    }
}

TEST(RuntimeFamilies, OnlySunRuntimesAreCollectedClientFirstUnderFavorServer) {
    const auto& families = runtimeFamilies();
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(collectionJvmType(families[i], 0), 0);
        EXPECT_EQ(collectionJvmType(families[i], 1), 1);
        EXPECT_EQ(collectionJvmType(families[i], 2), i == SunJre ? 0 : 2);
    }
}

TEST(RuntimeFamilies, HomeFolderEndsInOneBackslashAndKitsUseTheirRuntime) {
    struct Row {
        Family family;
        const wchar_t* javaHome;
        const wchar_t* expected;
    };
    const std::vector<Row> rows{
        {SunJre, L"C:\\rt", L"C:\\rt\\"},
        {SunJre, L"C:\\rt\\", L"C:\\rt\\"},
        {IbmJre, L"C:\\ibm\\java", L"C:\\ibm\\java\\"},
        {SunJdk, L"C:\\kit", L"C:\\kit\\jre\\"},
        {SunJdk, L"C:\\kit\\", L"C:\\kit\\jre\\"},
        {JRockitJdk, L"D:\\jr", L"D:\\jr\\jre\\"},
        {JRockitJre, L"D:\\jr\\", L"D:\\jr\\"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(homeFolderFromJavaHome(row.javaHome, runtimeFamilies()[row.family]),
                  row.expected);
    }
    EXPECT_EQ(withTrailingBackslash(L""), L"\\");
    EXPECT_EQ(withTrailingBackslash(L"rt"), L"rt\\");
}

std::vector<std::wstring> probeOrder(int jvmType) {
    std::vector<std::wstring> paths;
    for (const JvmLibraryLocation& location : jvmLibraryProbeOrder(jvmType))
        paths.push_back(std::wstring(location.relativePath) + (location.isServer ? L" S" : L""));
    return paths;
}

TEST(RuntimeFamilies, JvmLibraryProbeOrderByJvmType) {
    const std::vector<std::wstring> anyJvm{L"bin\\client\\jvm.dll", L"bin\\classic\\jvm.dll",
                                           L"bin\\hotspot\\jvm.dll", L"bin\\server\\jvm.dll S",
                                           L"bin\\jrockit\\jvm.dll"};
    EXPECT_EQ(probeOrder(0), anyJvm);
    // A runtime without a server JVM is no use when one is required.
    EXPECT_EQ(probeOrder(1), std::vector<std::wstring>{L"bin\\server\\jvm.dll S"});
    const std::vector<std::wstring> serverFirst{L"bin\\server\\jvm.dll S", L"bin\\client\\jvm.dll",
                                                L"bin\\classic\\jvm.dll", L"bin\\hotspot\\jvm.dll",
                                                L"bin\\jrockit\\jvm.dll"};
    EXPECT_EQ(probeOrder(2), serverFirst);
}

TEST(RegistryText, StopsAtTheFirstNulOrTheEndOfTheData) {
    const wchar_t terminated[] = {L'C', L':', L'\\', L'a', L'\0', L'x', L'y'};
    EXPECT_EQ(textFromRegistryData(terminated, 7), L"C:\\a");
    // Stored without a terminating NUL: all of it, and nothing beyond.
    const wchar_t unterminated[] = {L'C', L':', L'\\', L'b', L'Z'};
    EXPECT_EQ(textFromRegistryData(unterminated, 4), L"C:\\b");
    EXPECT_EQ(textFromRegistryData(unterminated, 0), L"");
    EXPECT_EQ(textFromRegistryData(nullptr, 3), L"");
    const std::wstring longText(5000, L'p');
    EXPECT_EQ(textFromRegistryData(longText.data(), longText.size()), longText);
}

} // namespace
