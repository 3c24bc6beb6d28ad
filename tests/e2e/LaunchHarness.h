// Runs the real launcher as a user would: copied into a fresh folder under a chosen name,
// beside its settings file, started with arguments and environment, watched until it ends.
// Message boxes it shows are read and dismissed; the exit code is the full 32-bit value.
#pragma once

#include "TestFiles.h"

#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The launcher exe that the build produced, beside the test program.
std::wstring builtLauncherPath();

// The bin folder of the 32-bit build that the 64-bit build drives (win32\bin beside this
// program's bin): the paired launcher (launcher.exe) and its test runtime (testjvm\).
std::wstring pairedBuildFolder();

// The bin folder of the x64 build that the ARM64 build lies in (arm64\bin beside its bin):
// its test runtime is the x64 runtime an ARM64 machine may have installed.
std::wstring x64BuildFolder();

// Whether this machine runs the 32-bit build's programs: Wine needs its 32-bit part, which a
// machine that cannot run 32-bit x86 code does not have (scripts/setup.sh).
bool pairedBuildRunsHere();

struct LaunchOptions {
    std::wstring arguments;                  // appended to the quoted exe path
    std::map<std::wstring, std::optional<std::wstring>> environment; // nullopt removes
    std::wstring currentDirectory;           // empty: the test's own
    DWORD timeoutMs = 30000;
    // How to answer each message box: the control id pressed (IDOK by default).
    int messageBoxAnswer = IDOK;
    // Called once for each dialog window of the process as it becomes visible (message boxes
    // and the launcher's own dialogs). Return true when the test has dealt with it: it is then
    // neither recorded as a message box nor answered.
    std::function<bool(HWND dialog)> onDialog;
    // Called on every look at the running process (about every 25 ms), with its process id.
    std::function<void(DWORD processId)> whileRunning;
};

struct MessageBoxSeen {
    std::wstring text;
    std::wstring caption;
};

struct LaunchResult {
    DWORD exitCode = 0;
    bool timedOut = false;
    std::vector<MessageBoxSeen> messageBoxes;

    std::vector<std::wstring> messageTexts() const;
};

// An argument as it is written on a command line: quoted when it is empty or has a blank.
std::wstring quotedArgument(const std::wstring& argument);

// Starts exePath, answers its message boxes and waits for it to end (or kills it after the
// timeout, reporting timedOut).
LaunchResult runProgram(const std::wstring& exePath, const LaunchOptions& options = {});

// An application folder: the launcher copied in as `exeName` (which may name folders below
// the application folder, created as needed), settings written beside it.
class AppFolder {
public:
    explicit AppFolder(const std::wstring& exeName = L"app.exe");

    const std::wstring& folder() const { return temp_.path(); }
    const std::wstring& exePath() const { return exePath_; }
    std::wstring file(const std::wstring& relative) const { return temp_.file(relative); }
    // The exe's folder + "\" + relative.
    std::wstring besideExe(const std::wstring& relative) const;

    // The settings file beside the exe (exe path up to its last dot, then "ini").
    void writeSettings(const std::wstring& text) const;
    LaunchResult launch(const LaunchOptions& options = {}) const;

private:
    TempFolder temp_;
    std::wstring exePath_;
};

