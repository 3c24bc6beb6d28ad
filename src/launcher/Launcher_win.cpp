#include "launcher/Launcher.h"

#include "jvm/JavaExceptionDialog.h"
#include "jvm/JavaMainThread.h"
#include "jvm/Messages.h"
#include "jvm/StackTraceText.h"
#include "launcher/LaunchTrace.h"
#include "res/resource.h"

bool Launcher::prepare() { return readSettings() && prepareApplication(); }

bool Launcher::readSettings() {
    parseCommandLine();
    return traceStage("settings", readLaunchSettings());
}

bool Launcher::prepareApplication() {
    return traceStage("application", readApplicationSettings()) &&
           traceStage("runtime", selectRuntime());
}

int Launcher::run() {
    if (runPairedProduct)
        return traceResult("paired-product", startPairedProduct());
    if (singleInstance && !isFirstInstance)
        return traceResult("second-instance", waitForFirstInstance());

    prepareEnvironment();
    // A splash stage that cannot locate the settings file ends the launch as a failure, as
    // every other stage that cannot locate it does: exit code 0 would report success.
    // A service has no desktop that anybody sees.
    if (messageSink != MessageSink::eventLog && !hasArgument(L"-nosplash") &&
        !hasArgument(L"/nosplash") &&
        !traceStage("splash", startSplash()))
        return -1;
    if (!traceStage("jvm-library", loadJvmLibrary(jvmLibraryPath)))
        return -1;
    // Without a class path (message shown) there is nothing the VM could start: creating it
    // anyway would only look the main class up on the runtime's own class path.
    if (!traceStage("options", buildJavaOptions()))
        return -1;
    // On a console an exception that escaped main ends the process as it ends java: with 1,
    // once the VM has been destroyed (cleanup waits for the application's other threads); a
    // service so ends as failed, which its recovery actions count.
    if (traceResult("java-main-thread", runJavaMainThread()) == 0)
        return (isConsole || messageSink == MessageSink::eventLog) && mainThrew ? 1 : 0;
    if (splashClose) {
        splashClose();
        splashClose = nullptr;
    }
    return -1;
}

void Launcher::cleanup() {
    closeSplash();
    if (javaVm)
        destroyJavaVm();
    if (singleInstance)
        stopSingleInstance();
    mainStartedEvent.reset();
    if (splashClose) {
        splashClose();
        splashClose = nullptr;
    }
    appArguments.clear();
    vmOptions.clear();
    preferredVersions.clear();
}

// What the launch does around its conversation with the VM (jvm/VmConversation.h). The one
// conversation of the process is the Launcher, so each operation reaches the launcher's state.
// They live here rather than in a file of their own: the portable conversation, linked after
// this library, is what calls them.
namespace {

Launcher& launcherOf(VmConversation& conversation) { return static_cast<Launcher&>(conversation); }

} // namespace

void VmConversation::reportFailure(unsigned messageId, const std::wstring& text1,
                                   const std::wstring& text2) {
    showFormattedMessage(launcherOf(*this).messageOwner, messageId, text1, text2);
}

void VmConversation::reportCreationFailure(jint result) {
    // A code outside the JNI set has reason 0, which names no entry: an empty reason.
    showFormattedMessage(launcherOf(*this).messageOwner, IDS_JNI_EXCEPTION,
                         loadString(IDS_CREATE_VM_FAILED),
                         loadString(creationFailureReason(result)));
}

void VmConversation::onMainStarting() {
    if (const Launcher& launcher = launcherOf(*this); launcher.mainStartedEvent)
        SetEvent(launcher.mainStartedEvent.get());
}

void VmConversation::onMainException(JNIEnv* env, jthrowable exception) {
    Launcher& launcher = launcherOf(*this);
    launcher.mainThrew = true;
    launcher.closeSplash();
    // A service's administrator reads the trace in the event log, with or without "Failure
    // Check"; with it the application stops, as the dialog's default answer stops it.
    // A console program has printed the trace where its user reads it; no dialog waits.
    // Without the check the application goes on as after a return.
    if (launcher.messageSink == Launcher::MessageSink::eventLog) {
        showMessageBox(nullptr, stackTraceText(exception, env));
        if (launcher.failureCheck) {
            traceMain(mainClass, "stopped");
            exitOnStop(env);
        }
    } else if (launcher.failureCheck && !launcher.isConsole && showExceptionDialog(exception, env)) {
        traceMain(mainClass, "stopped");
        exitOnStop(env);
    }
}

void VmConversation::onMainEnded() {
    // With that provider accepted the main thread stays attached and never ends, so the
    // launcher never reaches cleanup: the process ends only through the application's exit.
    if (const Launcher& launcher = launcherOf(*this); launcher.ibmAccepted || launcher.ibmFavored)
        Sleep(INFINITE);
}

void VmConversation::endProcess(int code) {
    // From inside an abort hook, while the VM is half made: nothing of the launch can go on,
    // and the VM would end the process with its own code once the hook returned. A service
    // reports its end first.
    if (exitListener)
        exitListener->onExit(code);
    ExitProcess(static_cast<UINT>(code));
}
