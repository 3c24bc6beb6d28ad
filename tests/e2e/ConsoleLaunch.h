// Runs a console program as a script or a terminal would: in a console of its own, its
// standard input, output and error pipes that the test writes and reads, optionally sent
// Ctrl+C once its output shows that it is ready for it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

struct ConsoleRunOptions {
    std::wstring arguments; // appended to the quoted exe path
    std::string input;      // written to standard input, which is then closed
    std::optional<std::string> interruptWhenOutputHas; // Ctrl+C once standard output holds it
    DWORD timeoutMs = 30000;
};

struct ConsoleRun {
    DWORD exitCode = 0;
    bool timedOut = false;
    bool interrupted = false; // Ctrl+C was generated
    std::string out;
    std::string err;
};

ConsoleRun runInConsole(const std::wstring& exePath, const ConsoleRunOptions& options = {});

// Stamps the subsystem into a launcher copy with the stamping tool; true when it succeeded.
[[nodiscard]] bool stampSubsystem(const std::wstring& exePath, const wchar_t* subsystem);
