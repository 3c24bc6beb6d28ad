// The string table as the launcher loads it.
#include "jvm/Messages.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace {

TEST(StringTable, EntriesLoadWholeAndExactly) {
    EXPECT_EQ(loadString(IDS_WINDOWS_EXCEPTION), L"Windows exception: %s (errno = %d).\n");
    EXPECT_EQ(loadString(IDS_NO_MAIN_CLASS), L"Main class was not specified in INI file.");
    const std::wstring longest = loadString(IDS_JRE_NOT_FOUND_SERVER);
    EXPECT_EQ(longest.size(), 113u);
    EXPECT_NE(longest.find(L"Please  download"), std::wstring::npos);
    EXPECT_EQ(loadString(IDS_JRE_NOT_FOUND),
              L"The Java Runtime Environment (JRE) was not found. Please  download and install a JRE (%s) from:");
    EXPECT_EQ(loadString(IDS_REASON_INVALID_ARGUMENTS), L"invalid arguments");
}

TEST(StringTable, EveryIdOfTheTableIsPresentAndMissingOnesAreEmpty) {
    struct Range {
        UINT first;
        UINT last;
    };
    // The launcher's own texts, then those of the java command's syntax, modules and services,
    // the application's jar, and the download address.
    for (const Range range : {Range{202, 231}, Range{IDS_OPTION_WITHOUT_VALUE, IDS_STOP_METHOD_NOT_FOUND},
                              Range{IDS_JAR_UNREADABLE, IDS_JAR_NATIVE_ACCESS},
                              Range{IDS_DOWNLOAD_ADDRESS, IDS_DOWNLOAD_ADDRESS}})
        for (UINT id = range.first; id <= range.last; ++id)
            EXPECT_FALSE(loadString(id).empty()) << id;
    EXPECT_EQ(loadString(201), L"");
    EXPECT_EQ(loadString(IDS_STOP_METHOD_NOT_FOUND + 1), L"");
    EXPECT_EQ(loadString(IDS_JAR_NATIVE_ACCESS + 1), L"");
    EXPECT_EQ(loadString(60000), L"");
}

} // namespace
