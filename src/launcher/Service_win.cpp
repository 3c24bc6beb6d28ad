#include "launcher/Service.h"

#include "javaopts/AnsiText.h"
#include "jvm/ModifiedUtf8.h"
#include "jvm/ExitListener.h"
#include "jvm/Messages.h"
#include "launcher/DecimalText.h"
#include "launcher/ConsoleText.h"
#include "launcher/EventLog.h"
#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"
#include "launcher/ProcessInfo.h"
#include "launcher/ServiceRules.h"
#include "launcher/UniqueHandle.h"
#include "res/resource.h"

namespace {

// Each step of the start (the runtime chosen, the VM created) may take this long before the
// Service Control Manager takes the service for hung.
constexpr DWORD kStartStepWaitHintMs = 60000;
constexpr DWORD kStopCheckpointMs = 1000;

// One service run of the process: its status towards the Service Control Manager (none when it
// runs from a prompt) and its stop path. The VM's exit hook ends the process inside System.exit,
// so it reports the end too.
class ServiceSession final : public ExitListener {
  public:
    ServiceSession(Launcher& launcher, bool settingsRead)
        : launcher(launcher), settingsRead(settingsRead),
          finished(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        InitializeCriticalSection(&lock_);
    }
    ~ServiceSession() override { DeleteCriticalSection(&lock_); }
    ServiceSession(const ServiceSession&) = delete;
    ServiceSession& operator=(const ServiceSession&) = delete;

    // Every state but the end; `waitHint` is how long the pending state may last.
    void report(DWORD state, DWORD waitHint = 0) { setStatus(state, waitHint, 0); }

    // The end, reported once whoever sees it first: the launch's own end, the exit hook or the
    // stop timeout.
    void finish(DWORD exitCode) { setStatus(SERVICE_STOPPED, 0, exitCode); }

    void onExit(int status) override { finish(static_cast<DWORD>(status)); }
    // The C runtime's abort, which ends the VM's process after the hook, leaves it with 3.
    void onAbort() override { finish(3); }

    void requestStop();
    void stopApplication();
    void watchStop();
    int launch();

    Launcher& launcher;
    const bool settingsRead;
    std::wstring name;
    SERVICE_STATUS_HANDLE statusHandle = nullptr;
    UniqueHandle finished;
    HANDLE mainStartedWait = nullptr;
    int exitCode = -1;

  private:
    void setStatus(DWORD state, DWORD waitHint, DWORD exitCode) {
        EnterCriticalSection(&lock_);
        if (!ended_) {
            SERVICE_STATUS status{SERVICE_WIN32_OWN_PROCESS, state, 0, 0, 0, 0, waitHint};
            // Stop requests are taken once main runs: before that there is no VM to stop.
            if (state == SERVICE_RUNNING)
                status.dwControlsAccepted =
                    SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN | SERVICE_ACCEPT_PRESHUTDOWN;
            else if (state != SERVICE_STOPPED)
                status.dwCheckPoint = ++checkpoint_;
            if (state == SERVICE_STOPPED) {
                const ServiceExitCodes codes = serviceExitCodes(exitCode);
                status.dwWin32ExitCode = codes.win32ExitCode;
                status.dwServiceSpecificExitCode = codes.serviceSpecificExitCode;
                ended_ = true;
                if (statusHandle && exitCode != 0)
                    writeEventLogEntry(name, kEventServiceEnded, name, decimalText(uint64_t{exitCode}));
                SetEvent(finished.get());
            }
            if (statusHandle)
                SetServiceStatus(statusHandle, &status);
        }
        LeaveCriticalSection(&lock_);
    }

    CRITICAL_SECTION lock_;
    DWORD checkpoint_ = 0;
    bool ended_ = false;
    LONG stopRequested_ = 0;
};

// The callbacks of the dispatcher and the console carry no context of their own.
ServiceSession* session = nullptr;

DWORD WINAPI stopThreadProc(void* parameter) {
    static_cast<ServiceSession*>(parameter)->stopApplication();
    return 0;
}

DWORD WINAPI stopWatchProc(void* parameter) {
    static_cast<ServiceSession*>(parameter)->watchStop();
    return 0;
}

void startThread(LPTHREAD_START_ROUTINE procedure, ServiceSession* parameter) {
    const UniqueHandle thread(CreateThread(nullptr, 0, procedure, parameter, 0, nullptr));
    if (!thread)
        procedure(parameter);
}

void ServiceSession::requestStop() {
    if (InterlockedExchange(&stopRequested_, 1) != 0)
        return;
    traceServiceStop(launcher.stopClass, launcher.stopTimeoutMs);
    report(SERVICE_STOP_PENDING, launcher.stopTimeoutMs);
    startThread(stopWatchProc, this);
    startThread(stopThreadProc, this);
}

// The application is asked to end as it asks for itself: through its stop method, or through
// System.exit(0), which runs its shutdown hooks. Its end (main and every other thread done, or
// the exit hook) then reports the service stopped.
void ServiceSession::stopApplication() {
    if (!launcher.javaVm)
        return;
    if (!launcher.stopClass.empty()) {
        if (launcher.callOnAttachedThread(launcher.stopClass,
                                          encodeModifiedUtf8(launcher.stopMethod).c_str(),
                                          launcher.stopArguments))
            return;
        showFormattedMessage(nullptr, IDS_STOP_METHOD_NOT_FOUND,
                             launcher.stopClass + L"." + launcher.stopMethod);
    }
    launcher.exitOnAttachedThread(0);
}

// Checkpoints while the application ends; past the stop timeout the process ends without it.
void ServiceSession::watchStop() {
    for (DWORD waited = 0; waited < launcher.stopTimeoutMs; waited += kStopCheckpointMs) {
        if (WaitForSingleObject(finished.get(), kStopCheckpointMs) == WAIT_OBJECT_0)
            return;
        report(SERVICE_STOP_PENDING, launcher.stopTimeoutMs - waited);
    }
    if (WaitForSingleObject(finished.get(), 0) == WAIT_OBJECT_0)
        return;
    traceExit(static_cast<int>(kStopTimeoutExitCode), "stop-timeout");
    finish(kStopTimeoutExitCode);
    TerminateProcess(GetCurrentProcess(), kStopTimeoutExitCode);
}

BOOL WINAPI consoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    session->requestStop();
    return TRUE;
}

DWORD WINAPI serviceControl(DWORD control, DWORD, void*, void*) {
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
    case SERVICE_CONTROL_PRESHUTDOWN:
        session->requestStop();
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

void CALLBACK mainStartedProc(void* parameter, BOOLEAN) {
    auto* self = static_cast<ServiceSession*>(parameter);
    self->report(SERVICE_RUNNING);
    // From a prompt, Ctrl+C takes the stop path. Registered once the VM runs, so that this
    // handler is asked before the VM's own, which would end the process at once.
    if (!self->statusHandle)
        SetConsoleCtrlHandler(consoleControl, TRUE);
}

// The stages after the settings: the runtime, the VM and main, which reports the service
// running once it has been called.
int ServiceSession::launch() {
    if (!settingsRead)
        return -1;
    report(SERVICE_START_PENDING, kStartStepWaitHintMs);
    if (!launcher.prepareApplication())
        return -1;
    report(SERVICE_START_PENDING, kStartStepWaitHintMs);
    launcher.mainStartedEvent.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (launcher.mainStartedEvent)
        RegisterWaitForSingleObject(&mainStartedWait, launcher.mainStartedEvent.get(),
                                    mainStartedProc, this, INFINITE, WT_EXECUTEONLYONCE);
    const int result = launcher.run();
    if (mainStartedWait)
        UnregisterWaitEx(mainStartedWait, INVALID_HANDLE_VALUE);
    mainStartedWait = nullptr;
    return result;
}

void WINAPI serviceMain(DWORD argumentCount, LPWSTR* arguments) {
    ServiceSession& self = *session;
    Launcher& launcher = self.launcher;
    self.name = argumentCount > 0 && arguments[0] ? arguments[0] : L"";
    self.statusHandle = RegisterServiceCtrlHandlerExW(self.name.c_str(), serviceControl, nullptr);
    if (!self.statusHandle)
        return;
    self.report(SERVICE_START_PENDING, kStartStepWaitHintMs);
    std::wstring executablePath;
    DWORD error = 0;
    if (readModulePath(executablePath, error))
        registerEventSource(self.name, executablePath);
    launcher.serviceName = self.name;
    launcher.exitListener = &self;
    launcher.reportMessagesTo(Launcher::MessageSink::eventLog);
    traceService(self.name);

    self.exitCode = self.launch();
    // Waits for the application's last thread, so that STOPPED means the application ended.
    launcher.cleanup();
    launcher.exitListener = nullptr;
    self.finish(static_cast<DWORD>(self.exitCode));
}

} // namespace

int runService(Launcher& launcher, bool settingsRead) {
    // Never freed: the stop path's threads may still look at it while the process ends.
    session = new ServiceSession(launcher, settingsRead);
    ServiceSession& self = *session;
    SERVICE_TABLE_ENTRYW table[] = {{const_cast<wchar_t*>(L""), serviceMain}, {nullptr, nullptr}};
    int result = -1;
    if (StartServiceCtrlDispatcherW(table)) {
        result = self.exitCode;
    } else {
        // Not started by the Service Control Manager: a developer's try from a prompt, run as
        // any other launch, with the stop path on Ctrl+C.
        traceService({});
        launcher.reportMessagesTo(Launcher::MessageSink::window);
        launcher.exitListener = &self;
        result = self.launch();
        launcher.exitListener = nullptr;
    }
    return result;
}

void Launcher::reportMessagesTo(MessageSink sink) {
    messageSink = sink;
    std::vector<std::wstring> waiting;
    waiting.swap(deferredMessages);
    for (const std::wstring& text : waiting)
        showMessageBox(messageOwner, text);
}

void reportServiceMessage(const Launcher& launcher, const std::wstring& text) {
    writeEventLogEntry(launcher.serviceName, kEventMessage, text);
    if (launcher.errorFile.empty())
        return;
    // Appended as the VM appends to it, in the ANSI code page.
    const UniqueFile file(CreateFileW(launcher.errorFile.c_str(), FILE_APPEND_DATA,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    const std::string bytes = threadAnsiText(consoleMessageLine(text)).bytes;
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
