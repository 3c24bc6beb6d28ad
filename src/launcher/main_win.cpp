// Process entry: one Launcher, prepare, run, cleanup; the run result is the exit code.
#include "launcher/Launcher.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int result = -1;
    {
        Launcher launcher;
        // Every later wide-to-narrow conversion in the thread's code page (the VM options)
        // follows the system's default locale, not the user's.
        SetThreadLocale(GetSystemDefaultLCID());
        // Touching the window manager once here makes the process a GUI process for Windows
        // before any stage runs (the start-up cursor and foreground rights depend on it).
        DefWindowProcW(nullptr, WM_NULL, 0, 0);
        if (launcher.prepare())
            result = launcher.run();
        launcher.cleanup();
    }
    // -1 leaves the process as 4294967295.
    return result;
}
