// Handing the launch over to the paired launcher, built for the architecture of the only
// runtime that qualified.
#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"

int Launcher::startPairedProduct() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // The path is used as written: no search path, relative to the current directory. The
    // command line is that path alone, quoted, so that the paired launcher gets none of this
    // launch's arguments, nor pieces of a path with blanks in it.
    std::wstring commandLine = L"\"" + pairProduct + L"\"";
    // Not checked: a paired launcher that does not start leaves nothing to wait for, and the
    // hand-over ends with 0 as if it had.
    (void)traceStage("paired-product-start",
                     CreateProcessW(pairProduct.c_str(), commandLine.data(), nullptr, nullptr,
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
