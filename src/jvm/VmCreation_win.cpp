// Creating the VM on the Java main thread, with the composed options and the launcher's
// hooks, and destroying it at cleanup.
#include "launcher/Launcher.h"

bool Launcher::createVm() {
    if (!startVm())
        return false;
    // Before the main class is looked up, so that everything Java prints goes to the files.
    // A redirection that fails leaves its stream alone; the launch goes on.
    if (!outputFile.empty() && !redirectStandardOutput(outputFile) && jniEnv->ExceptionCheck())
        jniEnv->ExceptionDescribe();
    if (!errorFile.empty() && !redirectStandardError(errorFile) && jniEnv->ExceptionCheck())
        jniEnv->ExceptionDescribe();
    return true;
}

void Launcher::destroyJavaVm() {
    // Returns only when the application's last non-daemon thread has ended, so a windowed
    // application keeps the process alive until its last window closes.
    javaVm->DestroyJavaVM();
    javaVm = nullptr;
    jniEnv = nullptr;
}
