// A launcher copy stamped with embedded settings, started beside a settings file that only
// extends them through "+" sections: the VM receives the embedded values with the extensions.
#include "JavaApp.h"
#include "StampedCopy.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr DWORD kFailureExitCode = 4294967295u;

const std::wstring kPlusOnlySettings = L"[Java Runtime Environment+]\r\n"
                                       L"Virtual Machine Parameters=-Dfrom=file\r\n"
                                       L"[Application+]\r\n"
                                       L"Cmd=--file\r\n";

[[nodiscard]] bool stampSettings(const JavaApp& app) {
    return stampEmbeddedSettings(app.app, "[Java Runtime Environment]\n"
                                          "Main Class=com.example.App\n"
                                          "Virtual Machine Parameters=-Dfrom=embedded\n"
                                          "[Class Path]\n"
                                          "Class Path=\\lib\\*.jar\n"
                                          "[Application]\n"
                                          "Cmd=--embedded\n");
}

TEST(StampedLaunch, EmbeddedSettingsAreExtendedByTheFilesPlusSections) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    ASSERT_TRUE(stampSettings(app));
    app.app.writeSettings(kPlusOnlySettings);

    const LaunchResult result = app.launch();
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_FALSE(result.timedOut);
    for (const std::wstring& text : result.messageTexts())
        ADD_FAILURE() << "message box: " << narrow(text);

    const testjvm::Record record = app.record();
    const std::vector<std::wstring> options = {
        L"-Djava.class.path=" + app.app.file(JavaApp::kJar) + L";",
        L"-Dfrom=embedded",
        L"-Dfrom=file",
        L"abort",
        L"exit",
    };
    EXPECT_EQ(record.optionTexts(), options);
    const auto mains = record.callsOf(L"main");
    ASSERT_EQ(mains.size(), 1u);
    EXPECT_EQ(mains.front()->arguments, (std::vector<std::wstring>{L"--embedded", L"--file"}));
}

TEST(StampedLaunch, AFileValueReplacesTheEmbeddedOne) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    ASSERT_TRUE(stampSettings(app));
    app.app.writeSettings(
        L"[Java Runtime Environment]\r\nVirtual Machine Parameters=-Dfrom=file\r\n");

    const LaunchResult result = app.launch();
    EXPECT_EQ(result.exitCode, 0u);
    const std::vector<std::wstring> options = app.record().optionTexts();
    EXPECT_NE(std::find(options.begin(), options.end(), L"-Dfrom=file"), options.end());
    EXPECT_EQ(std::find(options.begin(), options.end(), L"-Dfrom=embedded"), options.end());
}

TEST(StampedLaunch, UnstampedLauncherWithOnlyPlusSectionsHasNoMainClass) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    app.app.writeSettings(kPlusOnlySettings);

    const LaunchResult result = app.launch();
    EXPECT_EQ(result.exitCode, kFailureExitCode);
    EXPECT_EQ(result.messageTexts(),
              (std::vector<std::wstring>{L"Main class was not specified in INI file."}));
}

} // namespace
