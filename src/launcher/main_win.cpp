// Process entry: one Launcher, prepare, run, cleanup; the run result is the exit code.
#include "launcher/Console.h"
#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"
#include "launcher/Service.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    openLaunchTrace();
    int result = -1;
    {
        Launcher launcher;
        // One build serves both kinds of program: the stamped header says which this copy is.
        launcher.isConsole = runsInConsole();
        // Every later wide-to-narrow conversion in the thread's code page (the VM options)
        // follows the system's default locale, not the user's.
        SetThreadLocale(GetSystemDefaultLCID());
        // The first call into the window manager turns this thread into a GUI thread; make it
        // here, before any stage, so that every stage starts from the same state.
        DefWindowProcW(nullptr, WM_NULL, 0, 0);
        const bool settingsRead = launcher.readSettings();
        if (launcher.isService)
            result = runService(launcher, settingsRead);
        else if (settingsRead && launcher.prepareApplication())
            result = launcher.run();
        launcher.cleanup();
    }
    traceExit(result, "launcher");
    // -1 leaves the process as 4294967295.
    return result;
}
