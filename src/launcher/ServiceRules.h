// The decisions of a launcher that runs as a Windows service: how long a stop may take, and
// what the Service Control Manager is told when the application has ended.
#pragma once

#include <cstdint>
#include <string>

// "Stop Timeout" in whole seconds; empty, zero or not a number gives the default of 20 s, which
// is what Windows itself waits for a service at shutdown.
inline constexpr std::uint32_t kDefaultStopTimeoutMs = 20000;
[[nodiscard]] std::uint32_t stopTimeoutMilliseconds(const std::wstring& text);

// The process's exit code when the application did not end within the stop timeout:
// ERROR_SERVICE_REQUEST_TIMEOUT, which the Service Control Manager's own texts explain.
inline constexpr std::uint32_t kStopTimeoutExitCode = 1053;

// What SERVICE_STATUS says of an ended service: 0 is NO_ERROR; any other exit code n is
// ERROR_SERVICE_SPECIFIC_ERROR with n, so that the recovery actions count it as a failure; the
// stop timeout's own code is said as itself.
struct ServiceExitCodes {
    std::uint32_t win32ExitCode = 0;
    std::uint32_t serviceSpecificExitCode = 0;
};
[[nodiscard]] ServiceExitCodes serviceExitCodes(std::uint32_t exitCode);
