// Handing the launch over to the paired launcher, built for the architecture of the only
// runtime that qualified.
#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"
#include "launcher/PathForm.h"

#include <cstddef>

namespace {

// The paired launcher shares the console, so its VM receives the console's control events
// and ends its application as it sees fit. This launcher only waits for its exit code: ended
// by Ctrl+C first, it would give the caller the code of an interrupted program instead. A
// closing console ends this process once the handler returns, so for that event the handler
// keeps it for the few seconds Windows allows, for the paired launcher to finish.
BOOL WINAPI waitForPairedLauncher(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        Sleep(INFINITE);
    return TRUE;
}

} // namespace

int Launcher::startPairedProduct() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // On a console the paired launcher writes and reads where this one does, pipes and files
    // included: its handles are handed on, made inheritable first, since a handle this
    // process was given need not be. A windowed launcher hands nothing on, as it always has.
    if (isConsole) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        // The three handles are consecutive fields, as their ids are consecutive numbers
        // (input -10, output -11, error -12): one loop without tables, which cost bytes.
        HANDLE* const handles = &startup.hStdInput;
        static_assert(offsetof(STARTUPINFOW, hStdError) ==
                      offsetof(STARTUPINFOW, hStdInput) + 2 * sizeof(HANDLE));
        for (DWORD i = 0; i < 3; ++i) {
            handles[i] = GetStdHandle(STD_INPUT_HANDLE - i);
            SetHandleInformation(handles[i], HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        }
        SetConsoleCtrlHandler(&waitForPairedLauncher, TRUE);
    }
    PROCESS_INFORMATION process{};
    // The path is used as written: no search path, relative to the current directory. The
    // command line is that path alone, quoted, so that the paired launcher gets none of this
    // launch's arguments, nor pieces of a path with blanks in it.
    std::wstring commandLine = L"\"" + pairProduct + L"\"";
    // The application name keeps the classic path limit: a deeper paired launcher is started
    // through its short folder names, its own file name kept, so that it finds the settings
    // files of its own name.
    const std::wstring application = pathForLimitedCall(pairProduct, kClassicPathLimit);
    // Not checked: a paired launcher that does not start leaves nothing to wait for, and the
    // hand-over ends with 0 as if it had.
    (void)traceStage("paired-product-start",
                     CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr,
                                    isConsole, 0, nullptr, nullptr, &startup, &process) != FALSE);
    const UniqueHandle pairedProcess(process.hProcess);
    const UniqueHandle pairedThread(process.hThread);
    if (!pairReturnCode || !pairedProcess)
        return 0;
    WaitForSingleObject(pairedProcess.get(), INFINITE);
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(pairedProcess.get(), &exitCode))
        return 0;
    return static_cast<int>(exitCode);
}
