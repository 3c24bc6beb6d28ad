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

TEST(StringTable, EveryIdFrom202To231IsPresentAndMissingOnesAreEmpty) {
    for (UINT id = 202; id <= 231; ++id)
        EXPECT_FALSE(loadString(id).empty()) << id;
    EXPECT_EQ(loadString(201), L"");
    EXPECT_EQ(loadString(232), L"");
    EXPECT_EQ(loadString(60000), L"");
}

} // namespace
