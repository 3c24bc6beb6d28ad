// Handing the launch over to the paired launcher, built for the architecture of the only
// runtime that qualified.
#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"
#include "launcher/PathForm.h"

int Launcher::startPairedProduct() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
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
                                    FALSE, 0, nullptr, nullptr, &startup, &process) != FALSE);
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
