// Which listed section names may be the section a reader asks for.
#include "settings/SectionNames.h"

#include <gtest/gtest.h>

namespace {

TEST(SectionNames, CaseAndSurroundingBlanksDoNotTell) {
    EXPECT_TRUE(mayNameSameSection(L"Application", L"Application"));
    EXPECT_TRUE(mayNameSameSection(L"APPLICATION", L"application"));
    EXPECT_TRUE(mayNameSameSection(L" \tApplication  ", L"Application"));
    EXPECT_TRUE(mayNameSameSection(L"Application", L" Application\t"));
    EXPECT_TRUE(mayNameSameSection(L"", L""));
}

TEST(SectionNames, DifferentNamesAreTold) {
    EXPECT_FALSE(mayNameSameSection(L"Application+", L"Application"));
    EXPECT_FALSE(mayNameSameSection(L"Application", L"Application+"));
    EXPECT_FALSE(mayNameSameSection(L"Applicatiom", L"Application"));
    EXPECT_FALSE(mayNameSameSection(L"Class  Path", L"Class Path")); // inner blanks count
    EXPECT_FALSE(mayNameSameSection(L"", L"Display"));
    // Only letters match across case: '@' is not '`', '[' is not '{'.
    EXPECT_FALSE(mayNameSameSection(L"a@", L"a`"));
    EXPECT_FALSE(mayNameSameSection(L"[", L"{"));
}

TEST(SectionNames, LettersOutsideAsciiMayMatchAnything) {
    // A dotless i and a long s have the upper-case forms I and S.
    EXPECT_TRUE(mayNameSameSection(L"Applicat\x0131on", L"Application"));
    EXPECT_TRUE(mayNameSameSection(L"\x017F"
                                   L"ection",
                                   L"SECTION"));
    EXPECT_TRUE(mayNameSameSection(L"Caf\x00E9", L"Caf\x00C9"));
    // ... but not a name of another length.
    EXPECT_FALSE(mayNameSameSection(L"Applicat\x0131on+", L"Application"));
}

TEST(SectionNames, TheNamelessPartBeforeTheFirstSectionIsNeverListed) {
    const std::vector<std::wstring> listed{L"Application", L"Display"};
    EXPECT_TRUE(listedSectionsMayHold(listed, L"application"));
    EXPECT_FALSE(listedSectionsMayHold(listed, L"Application+"));
    EXPECT_FALSE(listedSectionsMayHold({}, L"Application"));
    EXPECT_TRUE(listedSectionsMayHold({}, L""));
    EXPECT_TRUE(listedSectionsMayHold(listed, L" "));
}

} // namespace
