// The splash step of a launch: the launcher's own window on a thread of its own, or the
// runtime's splash library when the settings prefer it.
#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"
#include "settings/CombinedSettingsSource.h"
#include "settings/LaunchSettingsRules.h"
#include "settings/SettingsKeys.h"
#include "splash/RuntimeSplash.h"
#include "splash/SplashRules.h"

namespace {

// How long closeSplash waits for the splash thread between its quit messages.
constexpr DWORD kQuitRetryMs = 10;

DWORD WINAPI splashThreadProc(void* parameter) {
    auto& launcher = *static_cast<Launcher*>(parameter);
    const HWND window = launcher.splashWindow->create(launcher.splashImage,
                                                      wantsSplashShadow(launcher.splashShadow));
    if (window) {
        // From here on the launcher's message boxes are owned by the splash, so they show in
        // front of it rather than behind it.
        launcher.messageOwner = window;
        ShowWindow(window, SW_SHOWNORMAL);
        UpdateWindow(window);
    }
    // Without a window the thread still waits for its quit message, as closeSplash expects.
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (window)
        DestroyWindow(window);
    return 0;
}

} // namespace

bool Launcher::startSplash() {
    using namespace settings;
    std::wstring path;
    if (!settingsFilePath(path))
        return false;
    // Read as every other section is: a launcher carrying its settings shows its splash with
    // no file beside it, and a missing file simply reads as empty.
    CombinedSettingsSource settings(path, embeddedSettingsText());
    splashImage = settings.value(displaySection, splashScreenKey);
    splashShadow = settings.value(displaySection, splashScreenShadowKey);
    const bool runtimeSplashPreferred =
        isYes(settings.value(displaySection, preferNativeSplashKey));
    if (splashImage.empty())
        return true;
    if (runtimeSplashPreferred) {
        const std::wstring library = findSplashLibrary(jvmLibraryPath);
        if (!library.empty() && startRuntimeSplash(library, splashImage)) {
            traceSplash("runtime", library);
            return true;
        }
    }
    startNativeSplash();
    traceSplash("native", splashImage);
    return true;
}

void Launcher::startNativeSplash() {
    // Everything the splash thread reads is in place before it starts; it does not wait for
    // the window, which appears while the VM starts.
    splashWindow = std::make_unique<SplashWindow>();
    splashThread.reset(CreateThread(nullptr, 0, &splashThreadProc, this, 0, &splashThreadId));
}

void Launcher::closeSplash() {
    if (!splashWindow)
        return;
    if (splashThread) {
        // A thread has a message queue only once it has made its first window call, and a
        // quit message posted before that is lost: post until the thread has ended.
        do
            PostThreadMessageW(splashThreadId, WM_QUIT, 0, 0);
        while (WaitForSingleObject(splashThread.get(), kQuitRetryMs) == WAIT_TIMEOUT);
        splashThread.reset();
    }
    splashWindow.reset();
    // The window is gone: a message box or dialog shown from now on must not name it as its
    // owner, or it would not show at all.
    messageOwner = nullptr;
}
