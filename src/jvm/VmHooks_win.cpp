#include "jvm/VmHooks.h"

#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"

// The hooks' signatures carry no context, so they reach the launcher through the process's
// one launcher pointer. They may run on any Java thread, while the launcher is in any stage.
void JNICALL jvmExitHook(jint status) {
    traceExit(status, "System.exit");
    const Launcher* launcher = currentLauncher;
    if (launcher && launcher->exitListener)
        launcher->exitListener->onExit(status);
}

void JNICALL jvmAbortHook() {
    traceAbort();
    const Launcher* launcher = currentLauncher;
    if (launcher && launcher->exitListener)
        launcher->exitListener->onAbort();
}
