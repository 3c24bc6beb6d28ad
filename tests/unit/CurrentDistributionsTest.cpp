// Today's distributions under the family rules: which registrations are searched and favoured
// under each source and provider setting, and which homes are probed. (Where each layout keeps
// its home is checked against the real registry in the Windows tests.)
#include "runtime/CurrentDistributions.h"

#include "RuntimeSourceTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const CurrentFamily& family(const std::wstring& key) {
    const auto& families = currentFamilies();
    const auto found = std::find_if(families.begin(), families.end(),
                                    [&](const CurrentFamily& f) { return key == f.key; });
    EXPECT_NE(found, families.end()) << "no family " << testing::PrintToString(key);
    return found == families.end() ? families.front() : *found;
}

// One registration: a family key and a sub-key name.
struct Registration {
    const wchar_t* key;
    const wchar_t* name;
};

const Registration temurinKit{L"Software\\Eclipse Adoptium\\JDK", L"17.0.8.101"};
const Registration temurinJre{L"Software\\Eclipse Adoptium\\JRE", L"17.0.8.101"};
const Registration oracleKit{L"Software\\JavaSoft\\JDK", L"21"};
const Registration microsoftKit{L"Software\\Microsoft\\JDK", L"21.0.1.12"};
const Registration semeruKit{L"Software\\Semeru\\JDK", L"17.0.7.7"};
const Registration semeruJre{L"Software\\Semeru\\JRE", L"17.0.7.7"};
const Registration zuluKit{L"Software\\Azul Systems\\Zulu", L"zulu-17"};
const Registration zuluJre{L"Software\\Azul Systems\\Zulu", L"zulu-8-JRE"};
const Registration libericaJre{L"Software\\BellSoft\\Liberica", L"Liberica JRE 11"};

const std::vector<Registration> everyRegistration{temurinKit,   temurinJre, oracleKit,
                                                  microsoftKit, semeruKit,  semeruJre,
                                                  zuluKit,      zuluJre,    libericaJre};

std::vector<std::wstring> names(const std::vector<Registration>& registrations) {
    std::vector<std::wstring> result;
    for (const Registration& r : registrations)
        result.push_back(std::wstring(r.key) + L"\\" + r.name);
    return result;
}

TEST(CurrentDistributions, SourceAndProviderSettingsKeepTheirMeaning) {
    struct Row {
        const wchar_t* jvmSource;
        const wchar_t* vmProvider;
        std::vector<Registration> searched;
        std::vector<Registration> favored;
    };
    const std::vector<Registration> hotSpot{temurinKit, temurinJre, oracleKit,  microsoftKit,
                                            zuluKit,    zuluJre,    libericaJre};
    const std::vector<Row> rows{
        // The defaults: HotSpot builds are the Sun provider's, OpenJ9 builds are not searched.
        {L"", L"", hotSpot, hotSpot},
        {L"", L"ibm", {semeruKit, semeruJre}, {semeruKit, semeruJre}},
        {L"", L"favor_ibm", everyRegistration, {semeruKit, semeruJre}},
        {L"", L"any", everyRegistration, {}},
        {L"", L"jrockit", {}, {}},
        // The kind comes from the key, or for Zulu and Liberica from the sub-key name.
        {L"only_JRE", L"", {temurinJre, zuluJre, libericaJre}, {temurinJre, zuluJre, libericaJre}},
        {L"only_JDK", L"any", {temurinKit, oracleKit, microsoftKit, semeruKit, zuluKit}, {}},
        {L"favor_JDK", L"", hotSpot, {temurinKit, oracleKit, microsoftKit, zuluKit}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << (&row - rows.data()));
        const RuntimeSourceSettings settings = sourcesFromTexts(row.jvmSource, row.vmProvider);
        std::vector<Registration> searched, favored;
        for (const Registration& r : everyRegistration) {
            const RuntimeFamily rules = familyRulesOf(family(r.key), r.name);
            if (isFamilySearched(rules, settings))
                searched.push_back(r);
            if (isFamilySearched(rules, settings) && isFamilyFavored(rules, settings))
                favored.push_back(r);
        }
        EXPECT_EQ(names(searched), names(row.searched));
        EXPECT_EQ(names(favored), names(row.favored));
    }
}

TEST(CurrentDistributions, FavorServerCollectsOnlyHotSpotRuntimeEnvironmentsClientFirst) {
    // The same rule as the classic Sun runtime environments: the chosen one is probed again
    // with the real type.
    EXPECT_EQ(collectionJvmType(familyRulesOf(family(temurinJre.key), temurinJre.name), 2), 0);
    EXPECT_EQ(collectionJvmType(familyRulesOf(family(zuluJre.key), zuluJre.name), 2), 0);
    EXPECT_EQ(collectionJvmType(familyRulesOf(family(temurinKit.key), temurinKit.name), 2), 2);
    EXPECT_EQ(collectionJvmType(familyRulesOf(family(semeruJre.key), semeruJre.name), 2), 2);
}

TEST(CurrentDistributions, JreFolderIsProbedBeforeTheHomeItself) {
    using Homes = std::array<std::wstring, 2>;
    EXPECT_EQ(currentHomeFolders(L"C:\\Java\\jdk-17"),
              (Homes{L"C:\\Java\\jdk-17\\jre\\", L"C:\\Java\\jdk-17\\"}));
    EXPECT_EQ(currentHomeFolders(L"C:\\Java\\jdk8u382-b05\\"),
              (Homes{L"C:\\Java\\jdk8u382-b05\\jre\\", L"C:\\Java\\jdk8u382-b05\\"}));
}

} // namespace
