// A launcher shipped as one file: stamped with an icon, version information and settings of
// every section, alone in its folder with its jars and runtime, no settings file beside it. It
// shows its splash, forwards a second start to the first instance and calls main; signed, it
// does the same. tests/stamp/check-signing.sh signs the copy the first test leaves and runs the
// second test on it: the signing tools run on the build machine, not under Windows.
#include "BackgroundLaunch.h"
#include "JavaApp.h"
#include "SplashWatch.h"
#include "StampedCopy.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>

using namespace testjvm;

namespace {

// The splash picture is named relative to the launcher's folder, which "Override WorkingDir"
// makes the current folder: the folder can be installed anywhere.
constexpr char kEmbeddedSettings[] = "[Product Information]\n"
                                     "Product Name=Viewer\n"
                                     "Product Code={5E1F-C0DE}\n"
                                     "[Java Runtime Environment]\n"
                                     "Main Class=com.example.App\n"
                                     "[Class Path]\n"
                                     "Class Path=\\lib\\*.jar\n"
                                     "[Application]\n"
                                     "Single Instance=yes\n"
                                     "Override WorkingDir=Yes\n"
                                     "[Display]\n"
                                     "Splash Screen=splash.bmp\n";

std::optional<std::wstring> environmentPath(const wchar_t* name) {
    wchar_t buffer[32768];
    const DWORD length = GetEnvironmentVariableW(name, buffer, 32768);
    if (length == 0 || length >= 32768)
        return std::nullopt;
    return std::wstring(buffer, length);
}

// The app with its picture and a main that waits for "release", and a secondaryMain; the
// launcher copy is whatever the caller put at its exe path.
[[nodiscard]] bool prepareApp(const JavaApp& app) {
    writeQuadrantBitmap(app.app.besideExe(L"splash.bmp"));
    Script script;
    script.classes.push_back(JavaClass(JavaApp::kMainClass, {kMainMethod, kSecondaryMainVoid}, {},
                                       L"\\lib\\app.jar"));
    script.mainActions = {Action::waitFor(L"release")};
    return app.writeScript(script);
}

// What a user sees of the launch, with the splash saved as `screenshot`.
void expectSelfContainedLaunch(const JavaApp& app, const std::wstring& screenshot) {
    const std::wstring settingsFile = app.app.besideExe(L"app.ini");
    ASSERT_EQ(GetFileAttributesW(settingsFile.c_str()), INVALID_FILE_ATTRIBUTES);

    // The picture is waited for while main waits too: on a loaded machine the window may be
    // some time in painting.
    SplashWatch watch(0, screenshot);
    std::atomic<bool> pictureShown{false};
    LaunchOptions watched;
    watched.whileRunning = [&watch, &pictureShown](DWORD processId) {
        watch.look(processId);
        pictureShown = watch.pictureShown;
    };
    BackgroundLaunch first(app, {}, watched);
    ASSERT_TRUE(waitUntil([&] { return app.record().callsOf(L"main").size() == 1; }));
    EXPECT_TRUE(waitUntil([&] { return pictureShown.load(); }));
    BackgroundLaunch second(app, L"again");
    const LaunchResult secondResult = second.result();
    EXPECT_FALSE(secondResult.timedOut);
    EXPECT_EQ(secondResult.exitCode, 0u);
    EXPECT_TRUE(secondResult.messageBoxes.empty());
    EXPECT_FALSE(first.ended());
    writeBytesFile(app.runtimeHome + L"release", "");
    const LaunchResult firstResult = first.result();
    EXPECT_FALSE(firstResult.timedOut);
    EXPECT_EQ(firstResult.exitCode, 0u);
    for (const std::wstring& text : firstResult.messageTexts())
        ADD_FAILURE() << "message box: " << narrow(text);

    // The launch has ended: the watch is no longer written to.
    EXPECT_TRUE(watch.seen);
    EXPECT_TRUE(watch.pictureShown) << watch.pictureMismatch;
    EXPECT_TRUE(watch.screenshotSaved);
    const Record record = app.record();
    EXPECT_EQ(record.callsOf(L"main").size(), 1u);
    const auto forwarded = record.callsOf(L"secondaryMain");
    ASSERT_EQ(forwarded.size(), 1u);
    EXPECT_EQ(forwarded.front()->arguments, std::vector<std::wstring>{L"again"});
    EXPECT_EQ(record.loads.size(), 1u);
    EXPECT_TRUE(record.violations.empty());
}

TEST(SelfContainedLaunch, StampedLauncherNeedsNothingBesideIt) {
    JavaApp app;
    ASSERT_TRUE(prepareApp(app));
    ASSERT_TRUE(stampEmbeddedSettings(app.app, kEmbeddedSettings,
                                      L"--icon " + quotedArgument(testProgramFolder() +
                                                                  L"\\e2e-data\\app.ico") +
                                          L" --product-name Viewer --file-version 2.1.0.7"));
    expectSelfContainedLaunch(app, L"self-contained-splash");

    // Kept for the signing check, which signs this copy.
    if (const auto keep = environmentPath(L"QOVA_KEEP_STAMPED_LAUNCHER"))
        ASSERT_TRUE(CopyFileW(app.app.exePath().c_str(), keep->c_str(), FALSE));
}

TEST(SelfContainedLaunch, SignedCopyStartsTheSame) {
    const auto signedLauncher = environmentPath(L"QOVA_SIGNED_LAUNCHER");
    if (!signedLauncher)
        GTEST_SKIP() << "run by tests/stamp/check-signing.sh, which signs the stamped launcher";
    JavaApp app;
    ASSERT_TRUE(CopyFileW(signedLauncher->c_str(), app.app.exePath().c_str(), FALSE));
    ASSERT_TRUE(prepareApp(app));
    expectSelfContainedLaunch(app, L"signed-splash");
}

} // namespace
