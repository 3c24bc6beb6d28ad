// Process entry: one Launcher, prepare, run, cleanup; the run result is the exit code.
#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"

#include <cstdlib>

// The default terminate handler prints the demangled type of an escaping exception to a console
// this GUI program does not have, and the demangler it drags in is a sixth of the executable.
// Nothing is thrown for expected failures, so an escaping exception ends the process plainly.
namespace __gnu_cxx {
void __verbose_terminate_handler() { abort(); }
} // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    openLaunchTrace();
    int result = -1;
    {
        Launcher launcher;
        // Every later wide-to-narrow conversion in the thread's code page (the VM options)
        // follows the system's default locale, not the user's.
        SetThreadLocale(GetSystemDefaultLCID());
        // The first call into the window manager turns this thread into a GUI thread; make it
        // here, before any stage, so that every stage starts from the same state.
        DefWindowProcW(nullptr, WM_NULL, 0, 0);
        if (launcher.prepare())
            result = launcher.run();
        launcher.cleanup();
    }
    traceExit(result, "launcher");
    // -1 leaves the process as 4294967295.
    return result;
}
