// The splash screen as a user sees it: the launcher's own window while main runs, the switches
// that suppress it, what a bad picture does, and the runtime's splash library when the settings
// prefer it.
#include "DialogDriving.h"
#include "JavaApp.h"
#include "MessageBoxes.h"
#include "SplashWatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace testjvm;

namespace {

constexpr DWORD kFailureExitCode = 4294967295u;

std::wstring splashLines(const std::wstring& image, const std::wstring& extraLines = {}) {
    return L"Splash Screen=" + image + L"\r\n" + extraLines;
}

std::vector<std::string> splashFunctions(const Record& record) {
    std::vector<std::string> functions;
    for (const SplashCall& call : record.splashCalls)
        functions.push_back(call.function);
    return functions;
}

// Where a record line stands among all lines; -1 when it is missing.
long lineIndex(const Record& record, const std::string& key) {
    const auto found = std::find_if(record.lines.begin(), record.lines.end(),
                                    [&key](const auto& line) { return line.first == key; });
    return found == record.lines.end() ? -1 : static_cast<long>(found - record.lines.begin());
}

TEST(SplashScreen, ShowsThePictureCentredWhileMainRunsAndClosesBeforeTheVmWaits) {
    struct Row {
        const char* name;
        std::wstring image; // empty: a BMP of the given size, written for the test
        int width;
        int height;
        int tolerance;
        std::wstring screenshot; // empty for a window the screen cannot show whole
    };
    const Row rows[] = {
        {"bmp", L"", kQuadrantWidth, kQuadrantHeight, 0, L"splash-bmp"},
        {"gif", testImagePath(L"quadrants.gif"), kQuadrantWidth, kQuadrantHeight, 0, L"splash-gif"},
        {"jpeg", testImagePath(L"quadrants.jpg"), kQuadrantWidth, kQuadrantHeight, 24,
         L"splash-jpeg"},
        // Larger than the 1280 x 1024 screen: negative corner, still centred.
        {"larger than the screen", L"", 1400, 1100, 0, L""},
    };
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        JavaApp app;
        std::wstring image = row.image;
        if (image.empty()) {
            image = app.app.file(L"splash.bmp");
            writeQuadrantBitmap(image, row.width, row.height);
        }
        app.writeSettings({.displayLines = splashLines(image)});
        // main returns while a thread of the application keeps the VM (and the process) alive:
        // the splash goes at the end of the launch, not when the application ends.
        ASSERT_TRUE(app.writeScript(JavaApp::script({Action::thread(5000), Action::sleep(1500)})));
        SplashWatch watch(row.tolerance, row.screenshot);
        const LaunchResult result = app.launch(watch.options());
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_TRUE(result.messageBoxes.empty());

        ASSERT_TRUE(watch.seen);
        EXPECT_EQ(watch.rect.right - watch.rect.left, row.width);
        EXPECT_EQ(watch.rect.bottom - watch.rect.top, row.height);
        EXPECT_EQ(watch.rect.left, (screenWidth - row.width) / 2);
        EXPECT_EQ(watch.rect.top, (screenHeight - row.height) / 2);
        EXPECT_EQ(watch.style & ~(WS_CLIPSIBLINGS | WS_VISIBLE), static_cast<LONG>(WS_POPUP));
        EXPECT_EQ(watch.exStyle & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
        EXPECT_FALSE(watch.hasOwner);
        if (!row.screenshot.empty()) {
            EXPECT_TRUE(watch.pictureShown) << watch.pictureMismatch;
            EXPECT_TRUE(watch.screenshotSaved);
        }
        EXPECT_TRUE(watch.goneWhileRunning);
        const Record record = app.record();
        EXPECT_EQ(record.callsOf(L"main").size(), 1u);
        EXPECT_TRUE(record.destroyReturned);
        EXPECT_TRUE(record.splashCalls.empty());
    }
}

TEST(SplashScreen, NoSplashSwitchesSuppressItInTheirExactSpellingAndReachMain) {
    struct Row {
        std::wstring argument;
        bool splash;
    };
    const Row rows[] = {{L"-nosplash", false}, {L"/nosplash", false}, {L"-NoSplash", true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.argument));
        JavaApp app;
        writeQuadrantBitmap(app.app.file(L"splash.bmp"));
        app.writeSettings({.displayLines = splashLines(app.app.file(L"splash.bmp"))});
        ASSERT_TRUE(app.writeScript(JavaApp::script({Action::sleep(1000)})));
        SplashWatch watch;
        const LaunchResult result = app.launch(watch.options({.arguments = row.argument}));
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_EQ(watch.seen, row.splash);
        const Record record = app.record();
        const auto mainCalls = record.callsOf(L"main");
        ASSERT_EQ(mainCalls.size(), 1u);
        EXPECT_EQ(mainCalls.front()->arguments, std::vector<std::wstring>{row.argument});
    }
}

std::string randomBytes(size_t count) {
    std::mt19937 random(6);
    std::string bytes(count, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    return bytes;
}

TEST(SplashScreen, APictureThatCannotBeShownGivesNoWindowAndTheLaunchGoesOn) {
    // A bitmap whose headers promise 40,000 by 40,000 pixels that never come.
    std::string hugeBitmap(54, '\0');
    const auto put32 = [&hugeBitmap](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            hugeBitmap[at + i] = static_cast<char>(value >> (8 * i));
    };
    hugeBitmap[0] = 'B';
    hugeBitmap[1] = 'M';
    put32(10, 54);
    put32(14, 40);
    put32(18, 40000);
    put32(22, 40000);
    hugeBitmap[26] = 1;
    hugeBitmap[28] = 24;
    struct Row {
        const char* name;
        const wchar_t* file;              // null: no picture configured
        std::optional<std::string> bytes; // none: the file is missing
    };
    const Row rows[] = {
        {"missing", L"missing.bmp", std::nullopt},
        {"no picture", L"text.jpg", "only text, no picture"},
        {"empty file", L"empty.gif", ""},
        {"binary garbage", L"garbage.jpg", randomBytes(4096)},
        {"bitmap promising a huge picture", L"huge.bmp", hugeBitmap},
        {"none configured", nullptr, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        JavaApp app;
        const std::wstring image = row.file ? app.app.file(row.file) : L"";
        if (row.bytes)
            writeBytesFile(image, *row.bytes);
        app.writeSettings({.displayLines = splashLines(image)});
        ASSERT_TRUE(app.writeScript(JavaApp::script({Action::sleep(1000)})));
        SplashWatch watch;
        const LaunchResult result = app.launch(watch.options());
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_TRUE(result.messageBoxes.empty());
        EXPECT_FALSE(watch.seen);
        EXPECT_EQ(app.record().callsOf(L"main").size(), 1u);
    }
}

TEST(SplashScreen, DropShadowOnlyForTheExactTextTrue) {
    const std::pair<std::wstring, bool> rows[] = {{L"true", true}, {L"True", false}};
    for (const auto& [shadow, expected] : rows) {
        SCOPED_TRACE(narrow(shadow));
        JavaApp app;
        writeQuadrantBitmap(app.app.file(L"splash.bmp"));
        app.writeSettings(
            {.displayLines = splashLines(app.app.file(L"splash.bmp"),
                                         L"Splash Screen Shadow=" + shadow + L"\r\n")});
        ASSERT_TRUE(app.writeScript(JavaApp::script({Action::sleep(1000)})));
        SplashWatch watch;
        const LaunchResult result = app.launch(watch.options());
        ASSERT_FALSE(result.timedOut);
        ASSERT_TRUE(watch.seen);
        EXPECT_EQ((watch.classStyle & CS_DROPSHADOW) != 0, expected);
        EXPECT_EQ(watch.classStyle & (CS_DBLCLKS | CS_SAVEBITS),
                  static_cast<UINT>(CS_DBLCLKS | CS_SAVEBITS));
    }
}

TEST(SplashScreen, AMessageBoxRaisedWhileItShowsIsOwnedByIt) {
    JavaApp app;
    writeQuadrantBitmap(app.app.file(L"splash.bmp"));
    app.writeSettings({.mainClass = L"com.example.Missing",
                       .displayLines = splashLines(app.app.file(L"splash.bmp"))});
    Script script = JavaApp::script();
    // The VM takes its time, as a real one does: the splash is up before the class lookup.
    script.createDelayMs = 1500;
    ASSERT_TRUE(app.writeScript(script));
    HWND splash = nullptr;
    HWND owner = nullptr;
    LaunchOptions options;
    options.onDialog = [&](HWND dialog) {
        DWORD processId = 0;
        GetWindowThreadProcessId(dialog, &processId);
        splash = splashWindowOf(processId);
        owner = GetWindow(dialog, GW_OWNER);
        return false; // recorded and answered as usual
    };
    const LaunchResult result = app.launch(options);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, kFailureExitCode);
    EXPECT_EQ(result.messageTexts(),
              std::vector<std::wstring>{L"Could not find the main class com/example/Missing.\n"});
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(owner, splash);
}

TEST(SplashScreen, AnExceptionEscapingMainClosesItWhileTheApplicationRuns) {
    // With a provider that keeps the Java main thread after main, the launcher never reaches
    // its cleanup: only the exception itself can close the splash then.
    struct Row {
        const char* name;
        std::vector<Action> mainActions;
        bool closed;
    };
    const Row rows[] = {
        {"main throws",
         {Action::sleep(1000), Action::throwException(L"java/lang/IllegalStateException: boom")},
         true},
        {"main returns", {Action::sleep(1000)}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        JavaApp app;
        writeQuadrantBitmap(app.app.file(L"splash.bmp"));
        app.writeSettings({.runtimeLines = L"VM Provider=any\r\n",
                           .displayLines = splashLines(app.app.file(L"splash.bmp"))});
        ASSERT_TRUE(app.writeScript(JavaApp::script(row.mainActions)));
        SplashWatch watch;
        const LaunchResult result = app.launch(watch.options({.timeoutMs = 6000}));
        EXPECT_TRUE(result.timedOut); // the application never ends on its own
        EXPECT_TRUE(result.messageBoxes.empty());
        EXPECT_TRUE(watch.seen);
        EXPECT_EQ(watch.goneWhileRunning, row.closed);
        EXPECT_EQ(app.record().callsOf(L"main").size(), 1u);
    }
}

TEST(SplashScreen, TheExceptionDialogShowsOnlyOnceTheSplashIsGone) {
    // The dialog must not appear behind, or owned by, a splash that is about to vanish.
    JavaApp app;
    writeQuadrantBitmap(app.app.file(L"splash.bmp"));
    app.writeSettings({.applicationLines = L"Failure Check=Yes\r\n",
                       .displayLines = splashLines(app.app.file(L"splash.bmp"))});
    ASSERT_TRUE(app.writeScript(JavaApp::script(
        {Action::sleep(1000), Action::throwException(L"java/lang/IllegalStateException: boom")})));
    SplashWatch watch;
    int dialogs = 0;
    bool splashShownWithDialog = true;
    HWND dialogOwner = nullptr;
    LaunchOptions options = watch.options({.timeoutMs = 20000});
    options.onDialog = [&](HWND dialog) {
        if (windowCaption(dialog) != L"Java Exception")
            return false;
        ++dialogs;
        DWORD processId = 0;
        GetWindowThreadProcessId(dialog, &processId);
        const HWND splash = splashWindowOf(processId);
        splashShownWithDialog = splash && IsWindowVisible(splash);
        dialogOwner = GetWindow(dialog, GW_OWNER);
        pressButton(dialog, IDCANCEL);
        return true;
    };
    const LaunchResult result = app.launch(options);
    ASSERT_FALSE(result.timedOut);
    EXPECT_TRUE(watch.seen);
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(splashShownWithDialog);
    EXPECT_EQ(dialogOwner, nullptr);
    EXPECT_EQ(result.exitCode, kFailureExitCode);
}

TEST(SplashScreen, PreferredRuntimeLibraryShowsThePictureInsteadOfTheWindow) {
    struct Row {
        const char* name;
        SplashLibrary library;
        std::wstring preference;
        bool imageConfigured;
        std::vector<std::string> calls; // as the library saw them, cleanup's close included
        bool nativeWindow;
    };
    const std::vector<std::string> started = {"SplashInit", "SplashLoadFile",
                                              "SplashSetFileJarName", "SplashClose"};
    const Row rows[] = {
        {"preferred in any case", SplashLibrary::Complete, L"yES", true, started, false},
        {"init reports failure", SplashLibrary::InitFails, L"Yes", true, started, false},
        {"not preferred", SplashLibrary::Complete, L"no", true, {}, true},
        {"no library", SplashLibrary::None, L"Yes", true, {}, true},
        // Not usable for the splash, yet closed at cleanup.
        {"library without SplashInit",
         SplashLibrary::WithoutInit,
         L"Yes",
         true,
         {"SplashClose"},
         true},
        {"no image", SplashLibrary::Complete, L"Yes", false, {}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        JavaApp app({.splash = row.library});
        // A name outside the ANSI code page reaches the library by a name that opens the file.
        const std::wstring image = app.app.file(L"splash \u0436.bmp");
        writeQuadrantBitmap(image);
        app.writeSettings({.displayLines = splashLines(row.imageConfigured ? image : L"",
                                                       L"Preffer Native Splash Screen=" +
                                                           row.preference + L"\r\n")});
        ASSERT_TRUE(app.writeScript(JavaApp::script({Action::sleep(1000)})));
        SplashWatch watch;
        const LaunchResult result = app.launch(watch.options());
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_EQ(watch.seen, row.nativeWindow);
        const Record record = app.record();
        EXPECT_EQ(record.callsOf(L"main").size(), 1u);
        EXPECT_EQ(splashFunctions(record), row.calls);
        if (row.calls == started) {
            const std::string& fileName = record.splashCalls[1].fileName;
            EXPECT_NE(fileName, toAnsi(image)); // not the lossy spelling with '?'
            EXPECT_NE(GetFileAttributesA(fileName.c_str()), INVALID_FILE_ATTRIBUTES) << fileName;
            EXPECT_EQ(record.splashCalls[2].fileName, fileName);
            EXPECT_EQ(record.splashCalls[2].jarName, "");
        }
        // The library is closed last, after the VM is gone.
        if (!row.calls.empty())
            EXPECT_GT(lineIndex(record, key::kSplashClose), lineIndex(record, key::kDestroyEnd));
    }
}

TEST(SplashScreen, RuntimeLibraryIsClosedWhenTheJavaMainThreadFails) {
    for (const SplashLibrary library : {SplashLibrary::Complete, SplashLibrary::WithoutInit}) {
        SCOPED_TRACE(static_cast<int>(library));
        JavaApp app({.splash = library});
        writeQuadrantBitmap(app.app.file(L"splash.bmp"));
        app.writeSettings({.mainClass = L"com.example.Missing",
                           .displayLines = splashLines(app.app.file(L"splash.bmp"),
                                                       L"Preffer Native Splash Screen=Yes\r\n")});
        ASSERT_TRUE(app.writeScript(JavaApp::script()));
        const LaunchResult result = app.launch();
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, kFailureExitCode);
        EXPECT_EQ(result.messageBoxes.size(), 1u);
        const Record record = app.record();
        // Closed once, as soon as the launch failed: before the VM is destroyed.
        const std::vector<std::string> functions = splashFunctions(record);
        EXPECT_EQ(std::count(functions.begin(), functions.end(), "SplashClose"), 1);
        EXPECT_LT(lineIndex(record, key::kSplashClose), lineIndex(record, key::kDestroyBegin));
        EXPECT_GE(lineIndex(record, key::kSplashClose), 0);
    }
}

} // namespace

namespace {

TEST(SplashScreen, AtTheMonitorsScaleThePictureDrawnForItOrTheOneScaledSmoothly) {
    struct Row {
        const char* name;
        DWORD dpi;
        const wchar_t* variant; // beside splash.bmp, or none
        SIZE variantSize;       // not twice or 1.5 times the picture, so the size tells it
        SIZE shown;
        std::wstring screenshot;
    };
    const Row rows[] = {
        {"scaled to 150%", 144, nullptr, {}, {144, 96}, L"splash-144dpi-scaled"},
        {"@150pct at 150%", 144, L"splash@150pct.bmp", {150, 100}, {150, 100},
         L"splash-144dpi-150pct"},
        {"@2x shrunk to 150%", 144, L"splash@2x.bmp", {200, 140}, {150, 105}, L""},
        {"scaled to 200%", 192, nullptr, {}, {192, 128}, L"splash-192dpi-scaled"},
        {"@2x at 200%", 192, L"splash@2x.bmp", {200, 140}, {200, 140}, L"splash-192dpi-2x"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ScopedDisplayDpi dpi(row.dpi);
        JavaApp app;
        const std::wstring image = app.app.file(L"splash.bmp");
        writeQuadrantBitmap(image);
        if (row.variant)
            writeQuadrantBitmap(app.app.file(row.variant), row.variantSize.cx, row.variantSize.cy);
        app.writeSettings({.displayLines = splashLines(image)});
        ASSERT_TRUE(app.writeScript(JavaApp::script({Action::sleep(1500)})));
        // Smoothing blends the colours where the quadrants meet, not in their middles.
        SplashWatch watch(8, row.screenshot);
        const LaunchResult result = app.launch(watch.options());
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
        ASSERT_TRUE(watch.seen);
        EXPECT_EQ(watch.rect.right - watch.rect.left, row.shown.cx);
        EXPECT_EQ(watch.rect.bottom - watch.rect.top, row.shown.cy);
        EXPECT_TRUE(watch.pictureShown) << watch.pictureMismatch;
    }
}

} // namespace
