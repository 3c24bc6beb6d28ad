// The splash window: the pictures it decodes and how it draws them, its class and styles, what
// it does with a file that is no picture, and how the launcher starts and closes it.
#include "splash/SplashWindow.h"
#include "MessageBoxes.h"
#include "Screenshot.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "jvm/Messages.h"
#include "launcher/Launcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void pumpMessages() {
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Serves the window's messages until the screen shows the picture (or a second has passed).
ScreenPixels shownPixels(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    ScreenPixels pixels;
    for (int tries = 0; tries < 40; ++tries) {
        pumpMessages();
        if (captureScreen(rect, pixels) && quadrantMismatch(pixels, 60).empty())
            break;
        Sleep(25);
    }
    return pixels;
}

std::wstring classNameOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::vector<HWND> splashWindowsOfThisThread() {
    std::vector<HWND> found;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) WINAPI -> BOOL {
            if (classNameOf(window) == kSplashWindowClass)
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The class is registered once per process; a test that looks at its style starts afresh.
void forgetSplashClass() {
    UnregisterClassW(kSplashWindowClass, GetModuleHandleW(nullptr));
}

HWND waitForMessageOwner(const Launcher& launcher) {
    for (int tries = 0; tries < 200 && !launcher.messageOwner; ++tries)
        Sleep(25);
    return launcher.messageOwner;
}

TEST(SplashWindow, ShowsBmpGifAndJpegPicturesAtTheirSizeCentredAndUpright) {
    TempFolder folder;
    writeQuadrantBitmap(folder.file(L"quadrants.bmp"));
    struct Row {
        std::wstring path;
        int tolerance; // JPEG is lossy
        std::wstring screenshot;
    };
    const Row rows[] = {
        {folder.file(L"quadrants.bmp"), 0, L"splash-window-bmp"},
        {testImagePath(L"quadrants.gif"), 0, L"splash-window-gif"},
        {testImagePath(L"quadrants.jpg"), 24, L"splash-window-jpeg"},
    };
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.path));
        SplashWindow splash;
        const HWND window = splash.create(row.path, false);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(classNameOf(window), kSplashWindowClass);
        EXPECT_FALSE(IsWindowVisible(window)); // the splash thread shows it
        EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & ~WS_CLIPSIBLINGS,
                  static_cast<LONG>(WS_POPUP));
        EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
        EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
        RECT rect;
        GetWindowRect(window, &rect);
        EXPECT_EQ(rect.right - rect.left, kQuadrantWidth);
        EXPECT_EQ(rect.bottom - rect.top, kQuadrantHeight);
        EXPECT_EQ(rect.left, (screenWidth - kQuadrantWidth) / 2);
        EXPECT_EQ(rect.top, (screenHeight - kQuadrantHeight) / 2);

        // Not activated: without a window manager, Wine waits two seconds for an activated
        // window to be withdrawn when it is destroyed.
        ShowWindow(window, SW_SHOWNOACTIVATE);
        UpdateWindow(window);
        EXPECT_EQ(quadrantMismatch(shownPixels(window), row.tolerance), "");
        EXPECT_TRUE(saveWindowScreenshot(window, row.screenshot));
        DestroyWindow(window);
    }
}

TEST(SplashWindow, AFileThatIsNoPictureGivesNoWindow) {
    TempFolder folder;
    writeBytesFile(folder.file(L"empty.bmp"), "");
    writeBytesFile(folder.file(L"text.jpg"), "This is no picture at all, only a line of text.\r\n");
    const std::string gif = readBytesFile(testImagePath(L"quadrants.gif"));
    writeBytesFile(folder.file(L"header-only.gif"), gif.substr(0, 13));
    createFolders(folder.file(L"folder.bmp"));
    for (const wchar_t* name :
         {L"missing.bmp", L"empty.bmp", L"text.jpg", L"header-only.gif", L"folder.bmp"}) {
        SCOPED_TRACE(narrow(name));
        SplashWindow splash;
        EXPECT_EQ(splash.create(folder.file(name), false), nullptr);
        EXPECT_TRUE(splashWindowsOfThisThread().empty());
    }
}

TEST(SplashWindow, ClassHasTheDropShadowOnlyWhenAskedAndIsRegisteredOnce) {
    TempFolder folder;
    writeQuadrantBitmap(folder.file(L"quadrants.bmp"));
    for (const bool withShadow : {true, false}) {
        SCOPED_TRACE(withShadow);
        forgetSplashClass();
        SplashWindow splash;
        const HWND window = splash.create(folder.file(L"quadrants.bmp"), withShadow);
        ASSERT_NE(window, nullptr);
        const auto style = static_cast<UINT>(GetClassLongPtrW(window, GCL_STYLE));
        EXPECT_EQ(style, CS_DBLCLKS | CS_SAVEBITS | (withShadow ? CS_DROPSHADOW : 0u));
        EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(window, GCLP_HCURSOR)),
                  LoadCursorW(nullptr, IDC_ARROW));
        EXPECT_EQ(GetClassLongPtrW(window, GCLP_HBRBACKGROUND), COLOR_WINDOW + 1);

        // A second splash of the process takes the class as it is.
        SplashWindow second;
        const HWND secondWindow = second.create(folder.file(L"quadrants.bmp"), !withShadow);
        ASSERT_NE(secondWindow, nullptr);
        EXPECT_EQ(static_cast<UINT>(GetClassLongPtrW(secondWindow, GCL_STYLE)), style);
        DestroyWindow(secondWindow);
        DestroyWindow(window);
    }
    forgetSplashClass();
}

TEST(SplashScreen, ClosingEndsTheThreadAndLaterMessagesHaveNoOwnerLeft) {
    TempFolder folder;
    writeQuadrantBitmap(folder.file(L"quadrants.bmp"));
    Launcher launcher;
    launcher.splashImage = folder.file(L"quadrants.bmp");
    launcher.startNativeSplash();
    const HWND window = waitForMessageOwner(launcher);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(classNameOf(window), kSplashWindowClass);
    EXPECT_EQ(GetWindowThreadProcessId(window, nullptr), launcher.splashThreadId);
    // The owner is published as soon as the window exists; it is shown right after.
    for (int i = 0; i < 200 && !IsWindowVisible(window); ++i)
        Sleep(25);
    EXPECT_TRUE(IsWindowVisible(window));

    launcher.closeSplash();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(launcher.splashThread);
    EXPECT_EQ(launcher.splashWindow, nullptr);
    // A message box naming the destroyed window as its owner would not show at all.
    EXPECT_EQ(launcher.messageOwner.load(), nullptr);
    MessageBoxWatcher watcher;
    showMessageBox(launcher.messageOwner, L"shown after the splash");
    EXPECT_EQ(watcher.texts(), std::vector<std::wstring>{L"shown after the splash"});

    launcher.closeSplash(); // nothing left to close
    EXPECT_EQ(launcher.messageOwner.load(), nullptr);
}

TEST(SplashScreen, ClosingRightAfterTheStartEndsTheThreadWithOrWithoutAWindow) {
    // The thread may not have a message queue yet, or may create its window only after the
    // first quit message: closing must neither hang nor leave the window behind as an owner.
    TempFolder folder;
    writeQuadrantBitmap(folder.file(L"quadrants.bmp"));
    for (const std::wstring& image : {folder.file(L"quadrants.bmp"), folder.file(L"missing.bmp")}) {
        SCOPED_TRACE(narrow(image));
        Launcher launcher;
        launcher.splashImage = image;
        launcher.startNativeSplash();
        const HANDLE thread = launcher.splashThread.get();
        HANDLE watched = nullptr;
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &watched,
                                    SYNCHRONIZE, FALSE, 0));
        launcher.closeSplash();
        EXPECT_EQ(WaitForSingleObject(watched, 0), WAIT_OBJECT_0);
        CloseHandle(watched);
        EXPECT_EQ(launcher.messageOwner.load(), nullptr);
    }
}

} // namespace
