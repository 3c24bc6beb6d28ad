// Where the main class comes from: the java command's precedence.
#include "jvm/MainClassChoice.h"

#include <gtest/gtest.h>

namespace {

TEST(MainClassChoice, SettingThenModuleThenTheJarsManifest) {
    struct Row {
        bool mainClassSet;
        bool mainModuleSet;
        bool jarAvailable;
        MainClassOrigin origin;
    };
    const Row rows[] = {
        {true, true, true, MainClassOrigin::setting},
        {true, false, false, MainClassOrigin::setting},
        {false, true, true, MainClassOrigin::module},
        {false, false, true, MainClassOrigin::manifest},
        {false, false, false, MainClassOrigin::none},
    };
    for (const Row& row : rows)
        EXPECT_EQ(mainClassOrigin(row.mainClassSet, row.mainModuleSet, row.jarAvailable),
                  row.origin)
            << row.mainClassSet << row.mainModuleSet << row.jarAvailable;
}

} // namespace
