// Changing the requested execution level of a manifest, and nothing else in it.
#include "ManifestLevel.h"

#include <gtest/gtest.h>

namespace {

TEST(ManifestLevel, ReplacesOnlyTheLevelValue) {
    struct Case {
        const char* name;
        std::string manifest;
        std::string expected; // with level "requireAdministrator"; empty: not found
    };
    const Case cases[] = {
        {"plain",
         R"(<trustInfo><requestedExecutionLevel level="asInvoker" uiAccess="false"/></trustInfo>)",
         R"(<trustInfo><requestedExecutionLevel level="requireAdministrator" uiAccess="false"/></trustInfo>)"},
        {"level after another attribute, single quotes, blanks around =",
         "<requestedExecutionLevel\r\n uiAccess='false' level = 'highestAvailable' />",
         "<requestedExecutionLevel\r\n uiAccess='false' level = 'requireAdministrator' />"},
        {"namespace prefix",
         R"(<ms_asmv2:requestedExecutionLevel level="asInvoker"></ms_asmv2:requestedExecutionLevel>)",
         R"(<ms_asmv2:requestedExecutionLevel level="requireAdministrator"></ms_asmv2:requestedExecutionLevel>)"},
        {"commented-out element is skipped",
         R"(<!-- <requestedExecutionLevel level="x"/> --><requestedExecutionLevel level=""/>)",
         R"(<!-- <requestedExecutionLevel level="x"/> --><requestedExecutionLevel level="requireAdministrator"/>)"},
        {"an attribute that only ends in level does not count",
         R"(<requestedExecutionLevel mylevel="a" level="b"/>)",
         R"(<requestedExecutionLevel mylevel="a" level="requireAdministrator"/>)"},
        {"longer element name does not count", R"(<requestedExecutionLevels level="a"/>)", ""},
        {"no level attribute", R"(<requestedExecutionLevel uiAccess="false"/>)", ""},
        {"unterminated value", R"(<requestedExecutionLevel level="asInvoker)", ""},
        {"unterminated comment", R"(<!-- <requestedExecutionLevel level="a"/>)", ""},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> changed =
            withExecutionLevel(c.manifest, "requireAdministrator");
        EXPECT_EQ(changed.value_or(""), c.expected) << c.name;
    }
}

TEST(ManifestLevel, KnowsTheThreeLevelsInExactCase) {
    EXPECT_TRUE(isExecutionLevel("asInvoker"));
    EXPECT_TRUE(isExecutionLevel("highestAvailable"));
    EXPECT_TRUE(isExecutionLevel("requireAdministrator"));
    EXPECT_FALSE(isExecutionLevel("AsInvoker"));
    EXPECT_FALSE(isExecutionLevel("administrator"));
    EXPECT_FALSE(isExecutionLevel(""));
}

} // namespace
