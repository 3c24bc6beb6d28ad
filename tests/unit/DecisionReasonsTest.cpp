// The reasons the runtime search and the settings reader give for their decisions, which the
// launch trace reports: a wrong reason would send whoever reads the trace after the wrong
// setting.
#include "runtime/CandidateOrder.h"
#include "runtime/RuntimeFamilies.h"
#include "settings/LaunchSettingsRules.h"
#include "settings/MemorySettingsSource.h"

#include "RuntimeSourceTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

JavaVersion version(const wchar_t* text, int32_t fill = 0) { return JavaVersion::fromText(text, fill); }

TEST(DecisionReasons, BoundsTellWhichEndRefused) {
    struct Row {
        const wchar_t* version;
        const wchar_t* minimum;
        const wchar_t* maximum;
        BoundsCheck expected;
    };
    const Row rows[] = {
        {L"1.6.0_45", L"1.6", L"1.6", BoundsCheck::within},
        {L"1.6.0_45", L"1.4", L"1.5", BoundsCheck::aboveMaximum},
        {L"1.5.0_22", L"1.6", L"any", BoundsCheck::belowMinimum},
        // Crossed bounds refuse everything; the reason is the end the version misses first.
        {L"1.5", L"1.7", L"1.6", BoundsCheck::belowMinimum},
        {L"1.8", L"1.7", L"1.6", BoundsCheck::aboveMaximum},
        // An empty maximum limits nothing.
        {L"9", L"", L"", BoundsCheck::within},
    };
    for (const Row& row : rows) {
        const JavaVersion maximum = std::wstring(row.maximum) == L"any"
                                        ? JavaVersion{{0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}}
                                        : version(row.maximum, 0xFFFF);
        EXPECT_EQ(checkBounds(version(row.version), version(row.minimum), maximum), row.expected)
            << row.version << " in " << row.minimum << " .. " << row.maximum;
    }
}

TEST(DecisionReasons, FamilyRuleNamesTheSettingThatExcludes) {
    struct Row {
        const wchar_t* jvmSource;
        const wchar_t* vmProvider;
        size_t family; // position in the search order
        FamilyRule expected;
    };
    const Row rows[] = {
        {L"", L"", 1, FamilyRule::searched},
        {L"", L"", 2, FamilyRule::providerNotAccepted},             // JRockit JRE by default
        {L"only_JRE", L"", 0, FamilyRule::kindNotWanted},           // Sun JDK
        {L"favor_JRE", L"", 0, FamilyRule::searched},               // still searched in favour mode
        {L"only_JDK", L"jrockit", 1, FamilyRule::providerNotAccepted}, // both: the provider is named
        {L"only_JDK", L"jrockit", 2, FamilyRule::kindNotWanted},
        {L"favor_jre", L"", 1, FamilyRule::kindNotWanted}, // an unknown source wants no kind
    };
    for (const Row& row : rows) {
        const RuntimeSourceSettings settings = sourcesFromTexts(row.jvmSource, row.vmProvider);
        const RuntimeFamily& family = runtimeFamilies()[row.family];
        EXPECT_EQ(familyRule(family, settings), row.expected)
            << "source '" << row.jvmSource << "' provider '" << row.vmProvider << "' family "
            << row.family;
        EXPECT_EQ(isFamilySearched(family, settings), row.expected == FamilyRule::searched);
    }
}

TEST(DecisionReasons, PickNamesThePreferredEntryThatChose) {
    const std::vector<JreCandidate> ordered{
        {version(L"1.7.0_45"), L"new", false, true},
        {version(L"1.6.0_20"), L"old", false, true},
    };
    struct Row {
        std::vector<std::wstring> preferred;
        const wchar_t* home;
        const wchar_t* entry; // nullptr: none matched, the first ordered one was taken
    };
    const Row rows[] = {
        {{}, L"new", nullptr},
        {{L"1.5", L"1.6"}, L"old", L"1.6"},
        {{L"1.7", L"1.6"}, L"new", L"1.7"},
        {{L"1.5", L""}, L"new", nullptr}, // an empty entry asks for nothing in particular
        {{L"1.5"}, L"new", nullptr},
    };
    for (const Row& row : rows) {
        const CandidatePick pick = pickCandidate(ordered, row.preferred);
        ASSERT_NE(pick.chosen, nullptr);
        EXPECT_EQ(pick.chosen->homeFolder, row.home);
        if (row.entry) {
            ASSERT_NE(pick.preferredEntry, nullptr);
            EXPECT_EQ(*pick.preferredEntry, row.entry);
        } else {
            EXPECT_EQ(pick.preferredEntry, nullptr) << *pick.preferredEntry;
        }
    }
    EXPECT_EQ(pickCandidate({}, {L"1.6"}).chosen, nullptr);
}

TEST(DecisionReasons, CombinedValueTellsItsOrigin) {
    struct Row {
        const wchar_t* embedded;
        const wchar_t* file;
        const wchar_t* extension;
        SettingOrigin expected;
    };
    const Row rows[] = {
        {L"", L"", L"", SettingOrigin::none},
        {L"base", L"", L"", SettingOrigin::embedded},
        {L"base", L"file", L"ext", SettingOrigin::file},
        {L"", L"file", L"", SettingOrigin::file},
        {L"base", L"", L"ext", SettingOrigin::embeddedAndPlusSection},
        {L"", L"", L"-verbose", SettingOrigin::plusSection},
    };
    for (const Row& row : rows) {
        SettingOrigin origin = SettingOrigin::userFile;
        const std::wstring value = combineSettingValue(row.embedded, row.file, row.extension, origin);
        EXPECT_EQ(origin, row.expected) << "embedded '" << row.embedded << "' file '" << row.file
                                        << "' ext '" << row.extension << "'";
        EXPECT_EQ(value, combineSettingValue(row.embedded, row.file, row.extension));
    }
}

} // namespace
