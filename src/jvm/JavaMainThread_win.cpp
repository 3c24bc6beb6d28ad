#include "jvm/JavaMainThread.h"

#include "jvm/Messages.h"
#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"

namespace {

constexpr DWORD kThreadStarted = 0;
constexpr DWORD kThreadFailed = 1;

} // namespace

DWORD WINAPI javaMainThreadProc(void* parameter) {
    auto& launcher = *static_cast<Launcher*>(parameter);
    if (!traceStage("vm", launcher.createVm()))
        return kThreadFailed;
    return traceStage("main", launcher.invokeMain()) ? kThreadStarted : kThreadFailed;
}

int Launcher::runJavaMainThread() {
    if (mainThreadStackSize == 0)
        mainThreadStackSize = defaultThreadStackSize();
    traceMainThread(mainThreadStackSize);
    // The VM is created on a thread of its own because the stack of the process's first
    // thread is fixed by the executable: only a new thread can have the stack the
    // application asks for. The size is a reservation, as a Java thread stack size is; a
    // commit size would be overridden by the executable's larger reservation and committed
    // up front.
    const UniqueHandle thread(CreateThread(nullptr, mainThreadStackSize, &javaMainThreadProc, this,
                                           STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    if (!thread)
        return static_cast<int>(javaMainThreadProc(this));
    WaitForSingleObject(thread.get(), INFINITE);
    DWORD exitCode = kThreadFailed;
    if (!GetExitCodeThread(thread.get(), &exitCode))
        exitCode = kThreadFailed;
    return static_cast<int>(exitCode);
}

void exitOnStop(JNIEnv* env) { callSystemExit(env, -1); }
