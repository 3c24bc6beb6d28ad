// The launcher's outer behaviour: the settings stage's messages and the exit codes.
#include "LaunchHarness.h"

#include <gtest/gtest.h>

namespace {

constexpr DWORD failureExitCode = 4294967295u;

TEST(LauncherStart, MissingMainClassShowsOneMessageAndFails) {
    AppFolder app;
    app.writeSettings(L"[Java Runtime Environment]\r\nMinimum Version=1.8\r\n");
    const LaunchResult result = app.launch();
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, failureExitCode);
    ASSERT_EQ(result.messageBoxes.size(), 1u);
    EXPECT_EQ(narrow(result.messageBoxes[0].text), "Main class was not specified in INI file.");
}

TEST(LauncherStart, MissingSettingsFileReadsAsEmptyMainClass) {
    AppFolder app;
    const LaunchResult result = app.launch();
    EXPECT_EQ(result.exitCode, failureExitCode);
    ASSERT_EQ(result.messageBoxes.size(), 1u);
    EXPECT_EQ(narrow(result.messageBoxes[0].text), "Main class was not specified in INI file.");
}

TEST(LauncherStart, ExecutableWithoutAnyDotFailsSilently) {
    AppFolder app(L"launcher");
    ASSERT_EQ(app.exePath().find(L'.'), std::wstring::npos) << narrow(app.exePath());
    const LaunchResult result = app.launch();
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, failureExitCode);
    EXPECT_TRUE(result.messageBoxes.empty());
}

TEST(LauncherStart, MainClassOnlyInPlusSectionStillCounts) {
    // The "+" section extends a value; with no embedded layer the main class is found (with a
    // leading space), so the settings stage passes and no main-class message is shown.
    AppFolder app;
    app.writeSettings(L"[Java Runtime Environment+]\r\nMain Class=com.example.Main\r\n");
    // No runtime is found next, and the dialog that asks for one is cancelled.
    const LaunchResult result = app.launch({.messageBoxAnswer = IDCANCEL});
    ASSERT_FALSE(result.timedOut);
    for (const auto& text : result.messageTexts())
        EXPECT_NE(narrow(text), "Main class was not specified in INI file.");
}

} // namespace
