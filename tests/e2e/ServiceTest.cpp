// The launcher installed as a Windows service and driven through the Service Control Manager as
// an administrator drives it (create, start, stop, query, delete), each case judged by what the
// Java side recorded, what the manager reports and what reached the event log.
#include "JavaApp.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace testjvm;

namespace {

constexpr DWORD kServiceSpecificError = 1066; // ERROR_SERVICE_SPECIFIC_ERROR
constexpr DWORD kStopTimedOut = 1053;         // ERROR_SERVICE_REQUEST_TIMEOUT
constexpr DWORD kFailureExitCode = 4294967295u;

struct ServiceHandle {
    SC_HANDLE handle = nullptr;
    ~ServiceHandle() {
        if (handle)
            CloseServiceHandle(handle);
    }
};

// The status the manager reports once the service has left the pending states it passes
// through (or the last one seen after the wait).
SERVICE_STATUS_PROCESS waitWhilePending(SC_HANDLE service, DWORD pending, DWORD timeoutMs) {
    SERVICE_STATUS_PROCESS status{};
    for (DWORD waited = 0; waited <= timeoutMs; waited += 50) {
        DWORD needed = 0;
        if (!QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO,
                                  reinterpret_cast<BYTE*>(&status), sizeof status, &needed))
            break;
        if (status.dwCurrentState != pending)
            break;
        Sleep(50);
    }
    return status;
}

// An installed service over an application folder, removed again when the case ends.
class InstalledService {
  public:
    InstalledService(const std::wstring& name, const std::wstring& exePath) {
        manager_.handle = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        if (!manager_.handle)
            return;
        service_.handle = CreateServiceW(manager_.handle, name.c_str(), name.c_str(),
                                         SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                         SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                         quotedArgument(exePath).c_str(), nullptr, nullptr,
                                         nullptr, nullptr, nullptr);
    }
    ~InstalledService() {
        if (service_.handle)
            DeleteService(service_.handle);
    }
    InstalledService(const InstalledService&) = delete;
    InstalledService& operator=(const InstalledService&) = delete;

    bool installed() const { return service_.handle != nullptr; }
    bool start() const { return StartServiceW(service_.handle, 0, nullptr) != FALSE; }
    SERVICE_STATUS_PROCESS started() const {
        return waitWhilePending(service_.handle, SERVICE_START_PENDING, 60000);
    }
    bool stop() const {
        SERVICE_STATUS status{};
        return ControlService(service_.handle, SERVICE_CONTROL_STOP, &status) != FALSE;
    }
    SERVICE_STATUS_PROCESS stopped(DWORD timeoutMs = 60000) const {
        SERVICE_STATUS_PROCESS status = waitWhilePending(service_.handle, SERVICE_STOP_PENDING, timeoutMs);
        // A service that ends by itself goes from running straight to stopped.
        if (status.dwCurrentState == SERVICE_RUNNING)
            status = waitWhilePending(service_.handle, SERVICE_RUNNING, timeoutMs);
        return status;
    }

  private:
    ServiceHandle manager_;
    ServiceHandle service_;
};

// Wine keeps no event log to read back: its ReportEventW writes each entry's strings on the
// debug channel of the service host, whose output the test environment collects in the file
// that QOVA_WINE_EVENT_LOG names (scripts/wine-env.sh).
std::string eventLogText() {
    wchar_t path[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"QOVA_WINE_EVENT_LOG", path, MAX_PATH))
        return {};
    return readBytesFile(path);
}

bool processEnds(DWORD processId) {
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process)
        return true;
    const bool ended = WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

struct ServiceCase {
    const char* name;
    std::vector<Action> mainActions;
    std::vector<Action> stopActions;
    std::wstring serviceLines; // of [Service]
    bool withRuntime = true;
    bool sendStop = true;
    DWORD win32ExitCode = 0;
    DWORD serviceExitCode = 0;
    // What the application recorded: a shutdown hook that ran, the stop method's arguments.
    bool hookRuns = false;
    std::vector<std::wstring> stopArguments;
    bool stopCalled = false;
    // A text the event log holds afterwards.
    std::string eventText;
};

const Action kHook = Action::shutdownHook(L"hook ran");
const Action kForever = Action::waitFor(L"never");

const ServiceCase kCases[] = {
    {.name = "StopMethodEndsMainAndTheHooksRun",
     .mainActions = {kHook, Action::waitFor(L"stop-called")},
     .stopActions = {Action::signal(L"stop-called")},
     .serviceLines = L"Stop Class=com.example.App\r\nStop Arguments=now \"two words\"\r\n",
     .hookRuns = true,
     .stopArguments = {L"now", L"two words"},
     .stopCalled = true},
    {.name = "WithoutStopMethodSystemExitZeroRunsTheHooks",
     .mainActions = {kHook, kForever},
     .hookRuns = true},
    {.name = "StopMethodThatNeverReturnsEndsAtTheTimeout",
     .mainActions = {kHook, kForever},
     .stopActions = {kForever},
     .serviceLines = L"Stop Class=com.example.App\r\nStop Timeout=2\r\n",
     .win32ExitCode = kStopTimedOut,
     .stopCalled = true},
    {.name = "SystemExitFromAnotherThreadIsAServiceSpecificCode",
     .mainActions = {Action::exitFromThread(3)},
     .sendStop = false,
     .win32ExitCode = kServiceSpecificError,
     .serviceExitCode = 3},
    {.name = "UncaughtExceptionGoesToTheEventLog",
     .mainActions = {Action::throwException(L"java/lang/IllegalStateException: broken service")},
     .sendStop = false,
     .win32ExitCode = kServiceSpecificError,
     .serviceExitCode = 1,
     .eventText = "java.lang.IllegalStateException: broken service"},
    {.name = "NoRuntimeIsAnEventLogEntryAndTheLaunchCode",
     .withRuntime = false,
     .sendStop = false,
     .win32ExitCode = kServiceSpecificError,
     .serviceExitCode = kFailureExitCode,
     .eventText = "was not found"},
};

class Service : public testing::TestWithParam<ServiceCase> {};

TEST_P(Service, RunsAndStopsAsTheManagerReports) {
    const ServiceCase& c = GetParam();
    // Without bin\java.dll the private runtime's folder is no runtime home.
    JavaApp app(c.withRuntime ? RuntimeLayout{} : RuntimeLayout{.javaLibrary = false});
    Script script = JavaApp::script(c.mainActions);
    script.classes.front().staticMethods.push_back(L"stop([Ljava/lang/String;)V");
    script.stopActions = c.stopActions;
    ASSERT_TRUE(app.writeScript(script));
    const std::wstring errorFile = app.app.besideExe(L"error.log");
    // No runtime at all satisfies a minimum version from the far future.
    app.writeSettings({.runtimeLines = c.withRuntime ? L"" : L"Minimum Version=8122\r\n",
                       .applicationLines = L"Application Type=service\r\nError File=" +
                                           errorFile + L"\r\n[Service]\r\n" + c.serviceLines});

    const std::wstring name = L"QovaTest" + std::to_wstring(GetCurrentProcessId()) +
                              std::wstring(c.name, c.name + strlen(c.name));
    const InstalledService service(name, app.app.exePath());
    ASSERT_TRUE(service.installed()) << GetLastError();
    ASSERT_TRUE(service.start()) << GetLastError();
    const SERVICE_STATUS_PROCESS started = service.started();
    const DWORD processId = started.dwProcessId;
    if (c.sendStop) {
        ASSERT_EQ(started.dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING));
        EXPECT_TRUE(started.dwControlsAccepted & SERVICE_ACCEPT_STOP);
        ASSERT_TRUE(service.stop()) << GetLastError();
    }
    const SERVICE_STATUS_PROCESS stopped = service.stopped();
    EXPECT_EQ(stopped.dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(stopped.dwWin32ExitCode, c.win32ExitCode);
    EXPECT_EQ(stopped.dwServiceSpecificExitCode, c.serviceExitCode);
    // Nothing is left behind: not the process, and not a window waiting for a click in it.
    if (processId)
        EXPECT_TRUE(processEnds(processId));

    const Record record = app.record();
    bool hookRan = false;
    for (const auto& [key, value] : record.lines)
        hookRan = hookRan || (key == "shutdownHook" && value == "hook ran");
    EXPECT_EQ(hookRan, c.hookRuns);
    const auto stopCalls = record.callsOf(L"stop");
    EXPECT_EQ(!stopCalls.empty(), c.stopCalled);
    if (!stopCalls.empty()) {
        EXPECT_EQ(stopCalls.front()->arguments, c.stopArguments);
        // On a thread of its own, attached for the call: never the main thread.
        const auto mainCalls = record.callsOf(L"main");
        ASSERT_FALSE(mainCalls.empty());
        EXPECT_NE(stopCalls.front()->threadId, mainCalls.front()->threadId);
    }
    if (!c.eventText.empty()) {
        EXPECT_NE(eventLogText().find(c.eventText), std::string::npos);
        EXPECT_NE(readBytesFile(errorFile).find(c.eventText), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Service, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ServiceCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(ServiceFromPrompt, RunsAsAnyOtherApplication) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script({Action::printOut(L"tried from a prompt")})));
    app.writeSettings({.applicationLines = L"Application Type=service\r\n"});
    const LaunchResult result = app.launch();
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_TRUE(result.messageBoxes.empty());
    EXPECT_EQ(app.record().callsOf(L"main").size(), 1u);
}

} // namespace
