// Creating the VM on the Java main thread, with the composed options and the launcher's
// hooks, and destroying it at cleanup.
#include "jvm/Messages.h"
#include "jvm/VmHooks.h"
#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"
#include "res/resource.h"

#include <vector>

namespace {

// The reason shown for a JNI_CreateJavaVM result; none for a code outside the JNI set.
UINT creationFailureReason(jint result) {
    switch (result) {
    case JNI_ERR:
        return IDS_REASON_UNKNOWN;
    case JNI_EDETACHED:
        return IDS_REASON_DETACHED;
    case JNI_EVERSION:
        return IDS_REASON_VERSION;
    case JNI_ENOMEM:
        return IDS_REASON_NO_MEMORY;
    case JNI_EEXIST:
        return IDS_REASON_VM_EXISTS;
    case JNI_EINVAL:
        return IDS_REASON_INVALID_ARGUMENTS;
    default:
        return 0;
    }
}

} // namespace

bool Launcher::createVm() {
    // The options point into vmOptions' own strings, which nothing changes while the VM reads
    // them during creation.
    std::vector<JavaVMOption> options;
    options.reserve(vmOptions.size() + 2);
    for (std::string& option : vmOptions)
        options.push_back({option.data(), nullptr});
    char abortName[] = "abort";
    char exitName[] = "exit";
    options.push_back({abortName, reinterpret_cast<void*>(&jvmAbortHook)});
    options.push_back({exitName, reinterpret_cast<void*>(&jvmExitHook)});
    traceVmOptions(options);

    JavaVMInitArgs arguments{};
    arguments.version = JNI_VERSION_1_2;
    arguments.nOptions = static_cast<jint>(options.size());
    arguments.options = options.data();
    // An option the VM does not know is a mistake in the settings: better to fail than to
    // run the application without it.
    arguments.ignoreUnrecognized = JNI_FALSE;

    const jint result = createJavaVm(&javaVm, reinterpret_cast<void**>(&jniEnv), &arguments);
    traceVmCreated(result);
    if (result != JNI_OK) {
        javaVm = nullptr;
        jniEnv = nullptr;
        const UINT reason = creationFailureReason(result);
        showFormattedMessage(messageOwner, IDS_JNI_EXCEPTION,
                             loadString(IDS_CREATE_VM_FAILED),
                             reason ? loadString(reason) : std::wstring());
        return false;
    }

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
