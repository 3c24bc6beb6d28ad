#include "launcher/Launcher.h"

#include "launcher/LaunchTrace.h"

std::atomic<Launcher*> currentLauncher{nullptr};

Launcher::Launcher() { currentLauncher = this; }

// The VM's hooks may run on a Java thread at any time; once this launcher is gone they must
// find no launcher rather than its stale address. A newer launcher keeps its place.
Launcher::~Launcher() {
    Launcher* self = this;
    currentLauncher.compare_exchange_strong(self, nullptr);
}

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
