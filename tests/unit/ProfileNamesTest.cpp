// Which listed section and key names may be the name a reader asks for.
#include "settings/ProfileNames.h"

#include <gtest/gtest.h>

namespace {

TEST(ProfileNames, CaseAndSurroundingBlanksDoNotTell) {
    EXPECT_TRUE(mayBeSameName(L"Application", L"Application"));
    EXPECT_TRUE(mayBeSameName(L"APPLICATION", L"application"));
    EXPECT_TRUE(mayBeSameName(L" \tApplication  ", L"Application"));
    EXPECT_TRUE(mayBeSameName(L"Main Class", L" main class\t"));
    EXPECT_TRUE(mayBeSameName(L"", L""));
}

TEST(ProfileNames, DifferentNamesAreTold) {
    EXPECT_FALSE(mayBeSameName(L"Application+", L"Application"));
    EXPECT_FALSE(mayBeSameName(L"Application", L"Application+"));
    EXPECT_FALSE(mayBeSameName(L"Applicatiom", L"Application"));
    EXPECT_FALSE(mayBeSameName(L"Class  Path", L"Class Path")); // inner blanks count
    EXPECT_FALSE(mayBeSameName(L"", L"Display"));
    // Only letters match across case: '@' is not '`', '[' is not '{'.
    EXPECT_FALSE(mayBeSameName(L"a@", L"a`"));
    EXPECT_FALSE(mayBeSameName(L"[", L"{"));
}

TEST(ProfileNames, LettersOutsideAsciiMayMatchAnything) {
    // A dotless i and a long s have the upper-case forms I and S.
    EXPECT_TRUE(mayBeSameName(L"Applicat\x0131on", L"Application"));
    EXPECT_TRUE(mayBeSameName(L"\x017F"
                              L"ection",
                              L"SECTION"));
    EXPECT_TRUE(mayBeSameName(L"Caf\x00E9", L"Caf\x00C9"));
    // ... but not a name of another length.
    EXPECT_FALSE(mayBeSameName(L"Applicat\x0131on+", L"Application"));
}

TEST(ProfileNames, CountsEveryListedNameThatMayBeIt) {
    const std::vector<std::wstring> listed{L"Application", L"Display", L"APPLICATION ",
                                           L"Applicat\x0131on"};
    EXPECT_EQ(namesThatMayBe(listed, L"application"), 3u);
    EXPECT_EQ(namesThatMayBe(listed, L"Display"), 1u);
    EXPECT_EQ(namesThatMayBe(listed, L"Application+"), 0u);
    EXPECT_EQ(namesThatMayBe({}, L"Application"), 0u);
}

TEST(ProfileNames, BlankNames) {
    EXPECT_TRUE(isBlankName(L""));
    EXPECT_TRUE(isBlankName(L" \t "));
    EXPECT_FALSE(isBlankName(L" a "));
}

} // namespace
