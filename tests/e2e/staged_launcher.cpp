// The launcher's own entry and launch sequence, built as the launcher is, with a mark after each
// stage (StageMarks.h): the startup benchmark's view of where a launch spends its time. It
// follows the process entry (main_win.cpp) and the launch path of Launcher::prepare and
// Launcher::run for an application without a paired launcher or single-instance operation.
#include "StageMarks.h"
#include "launcher/Launcher.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    StageMarks marks;
    marks.mark("entry");
    int result = -1;
    {
        Launcher launcher;
        SetThreadLocale(GetSystemDefaultLCID());
        DefWindowProcW(nullptr, WM_NULL, 0, 0);
        marks.mark("start");
        launcher.parseCommandLine();
        bool ready = launcher.readLaunchSettings() && launcher.readApplicationSettings();
        marks.mark("settings");
        ready = ready && launcher.selectRuntime();
        marks.mark("runtime selection");
        if (ready) {
            launcher.prepareEnvironment();
            marks.mark("environment");
            ready = (launcher.hasArgument(L"-nosplash") || launcher.startSplash());
            marks.mark("splash");
            ready = ready && launcher.loadJvmLibrary(launcher.jvmLibraryPath);
            marks.mark("JVM library load");
            ready = ready && launcher.buildJavaOptions();
            marks.mark("options");
        }
        marks.write();
        if (ready)
            result = launcher.runJavaMainThread() == 0 ? 0 : -1;
        launcher.cleanup();
    }
    return result;
}
