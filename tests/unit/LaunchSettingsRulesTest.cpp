// How launch-setting texts become launcher values.
#include "settings/LaunchSettingsRules.h"

#include <gtest/gtest.h>

namespace {

TEST(LaunchSettingsRules, JvmTypeIsExact) {
    EXPECT_EQ(jvmTypeFromText(L"server"), 1);
    EXPECT_EQ(jvmTypeFromText(L"favor_server"), 2);
    EXPECT_EQ(jvmTypeFromText(L"Server"), 0);
    EXPECT_EQ(jvmTypeFromText(L""), 0);
    EXPECT_EQ(jvmTypeFromText(L"client"), 0);
}

TEST(LaunchSettingsRules, JvmSourceTable) {
    struct Row {
        const wchar_t* text;
        bool jdk, jre, other;
    };
    const Row rows[] = {
        {L"", true, true, true},           {L"favor_JRE", false, true, true},
        {L"favor_JDK", true, false, true}, {L"only_JRE", false, true, false},
        {L"only_JDK", true, false, false}, {L"favor_jre", false, false, false},
        {L"anything", false, false, false},
    };
    for (const Row& row : rows) {
        const JvmSourceChoice choice = jvmSourceFromText(row.text);
        EXPECT_EQ(choice.jdkWanted, row.jdk) << row.text;
        EXPECT_EQ(choice.jreWanted, row.jre) << row.text;
        EXPECT_EQ(choice.otherSourceAllowed, row.other) << row.text;
    }
}

TEST(LaunchSettingsRules, VmProviderTableIgnoresAsciiCase) {
    struct Row {
        const wchar_t* text;
        VmProviderChoice expected;
    };
    const Row rows[] = {
        {L"jrockit", {true, true, false, false, false, false}},
        {L"IBM", {false, false, false, false, true, true}},
        {L"Favor_Sun", {true, false, true, true, true, false}},
        {L"favor_JROCKIT", {true, true, true, false, true, false}},
        {L"favor_ibm", {true, false, true, false, true, true}},
        {L"ANY", {true, false, true, false, true, false}},
        {L"", {false, false, true, true, false, false}},
        {L"sun", {false, false, true, true, false, false}},
    };
    for (const Row& row : rows) {
        const VmProviderChoice c = vmProviderFromText(row.text);
        const VmProviderChoice& e = row.expected;
        EXPECT_EQ((std::vector<bool>{c.jrockitAccepted, c.jrockitFavored, c.sunAccepted, c.sunFavored,
                                     c.ibmAccepted, c.ibmFavored}),
                  (std::vector<bool>{e.jrockitAccepted, e.jrockitFavored, e.sunAccepted, e.sunFavored,
                                     e.ibmAccepted, e.ibmFavored}))
            << row.text;
    }
}

TEST(LaunchSettingsRules, PreferredVersionsKeepEmptyPiecesButNoTrailingOne) {
    using List = std::vector<std::wstring>;
    EXPECT_EQ(splitPreferredVersions(L""), List{});
    EXPECT_EQ(splitPreferredVersions(L"1.8"), List{L"1.8"});
    EXPECT_EQ(splitPreferredVersions(L"1.6;;1.7"), (List{L"1.6", L"", L"1.7"}));
    EXPECT_EQ(splitPreferredVersions(L"1.6;"), List{L"1.6"});
    EXPECT_EQ(splitPreferredVersions(L";1.6"), (List{L"", L"1.6"}));
    EXPECT_EQ(splitPreferredVersions(L";"), List{L""});
}

TEST(LaunchSettingsRules, YesSwitchesAndClassNames) {
    EXPECT_TRUE(isYes(L"Yes"));
    EXPECT_TRUE(isYes(L"YES"));
    EXPECT_TRUE(isYes(L"yes"));
    EXPECT_FALSE(isYes(L"y"));
    EXPECT_FALSE(isYes(L" yes"));
    EXPECT_FALSE(isYes(L"true"));
    EXPECT_EQ(toSlashClassName(L"com.example.app.Main"), L"com/example/app/Main");
    EXPECT_EQ(toSlashClassName(L" Main"), L" Main");
}

} // namespace
