#include "ConsoleLaunch.h"

#include "LaunchHarness.h"

#include <mutex>
#include <thread>

namespace {

struct Pipe {
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    // The child's end is inheritable, ours is not: a child holding our end of its own input
    // would never see that input end.
    bool open(bool childWrites) {
        SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
        if (!CreatePipe(&read, &write, &inheritable, 0))
            return false;
        return SetHandleInformation(childWrites ? read : write, HANDLE_FLAG_INHERIT, 0);
    }
    void close(HANDLE& handle) {
        if (handle)
            CloseHandle(handle);
        handle = nullptr;
    }
    ~Pipe() {
        close(read);
        close(write);
    }
};

class Collected {
  public:
    void append(const char* bytes, DWORD size) {
        std::lock_guard guard(lock_);
        text_.append(bytes, size);
    }
    std::string text() {
        std::lock_guard guard(lock_);
        return text_;
    }

  private:
    std::mutex lock_;
    std::string text_;
};

void drain(HANDLE pipe, Collected& into) {
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read > 0)
        into.append(buffer, read);
}

// The test process attaches to the child's console only to raise the event there; its own
// handler keeps it alive when the event reaches it too.
BOOL WINAPI survive(DWORD) {
    return TRUE;
}

bool sendCtrlC(DWORD processId) {
    SetConsoleCtrlHandler(&survive, TRUE);
    FreeConsole();
    if (!AttachConsole(processId))
        return false;
    const bool sent = GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    FreeConsole();
    return sent;
}

} // namespace

ConsoleRun runInConsole(const std::wstring& exePath, const ConsoleRunOptions& options) {
    ConsoleRun run;
    Pipe input, output, error;
    if (!input.open(false) || !output.open(true) || !error.open(true)) {
        run.timedOut = true;
        return run;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.read;
    startup.hStdOutput = output.write;
    startup.hStdError = error.write;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = quotedArgument(exePath) + L" " + options.arguments;
    // A console of its own: Ctrl+C raised there reaches the launcher and what it starts, not
    // the test runner.
    if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                        CREATE_NEW_CONSOLE, nullptr, nullptr, &startup, &process)) {
        run.timedOut = true;
        return run;
    }
    input.close(input.read);
    output.close(output.write);
    error.close(error.write);
    Collected out, err;
    std::thread outReader(drain, output.read, std::ref(out));
    std::thread errReader(drain, error.read, std::ref(err));
    DWORD written = 0;
    if (!options.input.empty())
        WriteFile(input.write, options.input.data(), static_cast<DWORD>(options.input.size()),
                  &written, nullptr);
    input.close(input.write);

    const ULONGLONG deadline = GetTickCount64() + options.timeoutMs;
    while (WaitForSingleObject(process.hProcess, 25) == WAIT_TIMEOUT) {
        if (GetTickCount64() > deadline) {
            run.timedOut = true;
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, 5000);
            break;
        }
        if (options.interruptWhenOutputHas && !run.interrupted &&
            out.text().find(*options.interruptWhenOutputHas) != std::string::npos)
            run.interrupted = sendCtrlC(process.dwProcessId);
    }
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // Whatever the program started may still hold the pipes; the readers end with the last
    // writer, which ends with the process tree.
    outReader.join();
    errReader.join();
    run.out = out.text();
    run.err = err.text();
    return run;
}

bool stampSubsystem(const std::wstring& exePath, const wchar_t* subsystem) {
    const LaunchResult stamping = runProgram(
        testProgramFolder() + L"\\qova-stamp.exe",
        {.arguments = L"--subsystem " + std::wstring(subsystem) + L" " + quotedArgument(exePath)});
    return stamping.exitCode == 0 && !stamping.timedOut;
}
