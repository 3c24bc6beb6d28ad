// Watches a launch for the launcher's splash window, from the harness's whileRunning hook: when
// it is visible, where, with which styles, whether the screen shows the test picture in it, and
// whether it went away while the process still ran.
#pragma once

#include "LaunchHarness.h"
#include "Screenshot.h"
#include "TestImages.h"

#include <windows.h>

#include <string>

// The splash window ("SplashScreenWindow") of a process, or null.
inline HWND splashWindowOf(DWORD processId) {
    struct Search {
        DWORD processId;
        HWND found;
    } search{processId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM parameter) WINAPI -> BOOL {
            auto& search = *reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (owner != search.processId || std::wstring(name) != L"SplashScreenWindow")
                return TRUE;
            search.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class SplashWatch {
  public:
    // `tolerance`: how far each colour channel of the shown picture may be off (JPEG is lossy).
    // With a screenshot name, the first look that shows the picture is saved as that PNG.
    explicit SplashWatch(int tolerance = 0, std::wstring screenshotName = {})
        : tolerance_(tolerance), screenshotName_(std::move(screenshotName)) {}

    LaunchOptions options(LaunchOptions options = {}) {
        options.whileRunning = [this](DWORD processId) { look(processId); };
        return options;
    }

    void look(DWORD processId) {
        const HWND window = splashWindowOf(processId);
        if (!window || !IsWindowVisible(window)) {
            if (seen)
                goneWhileRunning = true;
            return;
        }
        if (!seen) {
            seen = true;
            GetWindowRect(window, &rect);
            style = GetWindowLongW(window, GWL_STYLE);
            exStyle = GetWindowLongW(window, GWL_EXSTYLE);
            classStyle = static_cast<UINT>(GetClassLongPtrW(window, GCL_STYLE));
            hasOwner = GetWindow(window, GW_OWNER) != nullptr;
        }
        if (pictureShown)
            return;
        ScreenPixels pixels;
        if (!captureScreen(rect, pixels))
            return;
        pictureMismatch = quadrantMismatch(pixels, tolerance_);
        pictureShown = pictureMismatch.empty();
        // The window alone, and the whole screen to show where it stands.
        if (pictureShown && !screenshotName_.empty())
            screenshotSaved = saveWindowScreenshot(window, screenshotName_) &&
                              saveScreenScreenshot(screenshotName_ + L"-screen");
    }

    bool seen = false;
    bool goneWhileRunning = false; // seen, then no longer visible before the process ended
    RECT rect{};
    LONG style = 0;
    LONG exStyle = 0;
    UINT classStyle = 0;
    bool hasOwner = false;
    bool pictureShown = false;
    std::string pictureMismatch = "never looked";
    bool screenshotSaved = false;

  private:
    int tolerance_;
    std::wstring screenshotName_;
};
