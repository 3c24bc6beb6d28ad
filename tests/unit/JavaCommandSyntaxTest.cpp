// The java command's option syntax in the VM parameters: what the VM is given instead, and
// which options end the launch.
#include "javaopts/JavaCommandSyntax.h"
#include "javaopts/JavaOptionList.h"
#include "settings/MainModuleText.h"

#include <gtest/gtest.h>

namespace {

using Options = std::vector<std::wstring>;

const EnvironmentLookup kLookup = [](const std::wstring& name, std::wstring& value) {
    if (name != L"FX")
        return false;
    value = L"\\lib\\javafx";
    return true;
};

TEST(JavaCommandSyntax, TwoWordOptionsBecomeOneWordWithResolvedPaths) {
    struct Row {
        const char* fault; // what the row catches
        Options written;
        Options passed;
    };
    const Row rows[] = {
        {"a two-word option reaching the VM as two options",
         {L"--add-modules", L"javafx.controls,javafx.fxml"},
         {L"--add-modules=javafx.controls,javafx.fxml"}},
        {"-p not known as --module-path, or its relative entries left relative",
         {L"-p", L"\\lib\\javafx;\\mods"},
         {L"--module-path=C:\\App\\lib\\javafx;C:\\App\\mods"}},
        {"the one-word form's relative path left unresolved",
         {L"--module-path=\\lib\\javafx"},
         {L"--module-path=C:\\App\\lib\\javafx"}},
        {"drive and UNC entries changed, or empty entries kept as the executable's folder",
         {L"--upgrade-module-path", L"D:\\fx;;\\\\server\\mods;"},
         {L"--upgrade-module-path=D:\\fx;\\\\server\\mods"}},
        {"an entry expanded after resolution, so a reference to \\lib stays relative",
         {L"--module-path", L"%FX%"},
         {L"--module-path=C:\\App\\lib\\javafx"}},
        {"the module part of --patch-module taken for a path",
         {L"--patch-module", L"java.base=\\patch\\base.jar", L"--patch-module=m"},
         {L"--patch-module=java.base=C:\\App\\patch\\base.jar", L"--patch-module=m"}},
        {"the next word not taken as the value whatever it looks like",
         {L"--add-opens", L"--add-exports", L"-Xmx1g"},
         {L"--add-opens=--add-exports", L"-Xmx1g"}},
        {"values that are not paths changed",
         {L"--add-reads", L"a=b", L"--add-exports=java.base/sun.nio=ALL-UNNAMED",
          L"--limit-modules", L"m", L"--enable-native-access", L"ALL-UNNAMED"},
         {L"--add-reads=a=b", L"--add-exports=java.base/sun.nio=ALL-UNNAMED", L"--limit-modules=m",
          L"--enable-native-access=ALL-UNNAMED"}},
        {"other options touched, or a prefix of a known name taken for it",
         {L"-Dp=x", L"-pq", L"--add-modulesx", L"-Xss1m"},
         {L"-Dp=x", L"-pq", L"--add-modulesx", L"-Xss1m"}},
    };
    for (const Row& row : rows) {
        const JavaCommandOptions result = applyJavaCommandSyntax(row.written, L"C:\\App", kLookup);
        EXPECT_EQ(result.fault, OptionFault::None) << row.fault;
        EXPECT_EQ(result.options, row.passed) << row.fault;
    }
}

TEST(JavaCommandSyntax, RewritesAreListedForTheTraceAndUnchangedOptionsAreNot) {
    const JavaCommandOptions result = applyJavaCommandSyntax(
        {L"--add-modules", L"m", L"--add-opens=a/b=c", L"--module-path=\\mods"}, L"C:\\App",
        kLookup);
    ASSERT_EQ(result.rewritten.size(), 2u);
    EXPECT_EQ(result.rewritten[0].written, L"--add-modules m");
    EXPECT_EQ(result.rewritten[0].passed, L"--add-modules=m");
    EXPECT_EQ(result.rewritten[1].written, L"--module-path=\\mods");
    EXPECT_EQ(result.rewritten[1].passed, L"--module-path=C:\\App\\mods");
}

TEST(JavaCommandSyntax, MissingValuesAndLauncherActionsEndTheLaunch) {
    struct Row {
        Options written;
        OptionFault fault;
        std::wstring faultyOption;
        std::wstring settingInstead;
    };
    const Row rows[] = {
        {{L"-Xmx1g", L"--module-path"}, OptionFault::MissingValue, L"--module-path", L""},
        {{L"-p"}, OptionFault::MissingValue, L"-p", L""},
        {{L"--add-modules="}, OptionFault::MissingValue, L"--add-modules=", L""},
        {{L"--add-opens", L""}, OptionFault::MissingValue, L"--add-opens", L""},
        {{L"-jar", L"app.jar"}, OptionFault::LauncherAction, L"-jar", L"Main Jar"},
        {{L"-m", L"app"}, OptionFault::LauncherAction, L"-m", L"Main Module"},
        {{L"--module=app/a.B"}, OptionFault::LauncherAction, L"--module=app/a.B", L"Main Module"},
        {{L"-cp", L"x"}, OptionFault::LauncherAction, L"-cp", L"Class Path"},
        {{L"--class-path=x"}, OptionFault::LauncherAction, L"--class-path=x", L"Class Path"},
        {{L"-splash:a.png"}, OptionFault::LauncherAction, L"-splash:a.png", L"Splash Screen"},
        {{L"-server"}, OptionFault::LauncherAction, L"-server", L"JVM Type"},
        {{L"--version"}, OptionFault::LauncherAction, L"--version", L""},
        {{L"-showversion"}, OptionFault::LauncherAction, L"-showversion", L""},
        {{L"--list-modules"}, OptionFault::LauncherAction, L"--list-modules", L""},
        {{L"--describe-module=m"}, OptionFault::LauncherAction, L"--describe-module=m", L""},
        {{L"--dry-run"}, OptionFault::LauncherAction, L"--dry-run", L""},
        {{L"-?"}, OptionFault::LauncherAction, L"-?", L""},
        // The action is found even where it stands as the value of nothing before it.
        {{L"--add-modules", L"m", L"-version"}, OptionFault::LauncherAction, L"-version", L""},
    };
    for (const Row& row : rows) {
        const JavaCommandOptions result = applyJavaCommandSyntax(row.written, L"C:\\App", kLookup);
        EXPECT_EQ(result.fault, row.fault) << row.faultyOption;
        EXPECT_EQ(result.faultyOption, row.faultyOption);
        EXPECT_EQ(std::wstring(result.settingInstead ? result.settingInstead : L""),
                  row.settingInstead)
            << row.faultyOption;
    }
}

TEST(JavaOptionList, ModuleSettingsComeAfterTheClassPathAndBeforeTheParameters) {
    std::uint64_t stackSize = 0;
    const JavaCommandOptions composed =
        composeJavaOptions({.modulePath = L"\\mods;%FX%",
                            .mainModule = L"app",
                            .vmParameters = L"-p \"\\my mods\" -Xss1m",
                            .executableFolder = L"C:\\App"},
                           MemoryStatus{}, kLookup, stackSize);
    // No class path option at all when the class path is empty: a modular application may live
    // on the module path alone. A --module-path in the parameters comes after the setting's.
    EXPECT_EQ(composed.options,
              (Options{L"--module-path=C:\\App\\mods;C:\\App\\lib\\javafx",
                       L"-Djdk.module.main=app", L"--module-path=C:\\App\\my mods", L"-Xss1m"}));
    EXPECT_EQ(stackSize, 1048576u);
}

TEST(MainModuleText, SplitsTheModuleFromItsClassAndRaisesTheMinimumToNine) {
    EXPECT_EQ(splitMainModule(L"app").module, L"app");
    EXPECT_EQ(splitMainModule(L"app").mainClass, L"");
    EXPECT_EQ(splitMainModule(L"app/com.example.Main").module, L"app");
    EXPECT_EQ(splitMainModule(L"app/com.example.Main").mainClass, L"com/example/Main");

    const std::pair<JavaVersion, JavaVersion> rows[] = {
        {JavaVersion{}, JavaVersion{{9, 0, 0, 0}}},
        {JavaVersion{{1, 8, 0, 0}}, JavaVersion{{9, 0, 0, 0}}},
        {JavaVersion{{11, 0, 2, 0}}, JavaVersion{{11, 0, 2, 0}}},
    };
    for (const auto& [configured, expected] : rows)
        EXPECT_EQ(modularMinimumVersion(configured), expected) << configured.components[0];
}

} // namespace
