#include "launcher/ServiceRules.h"

namespace {

constexpr std::uint32_t kServiceSpecificError = 1066; // ERROR_SERVICE_SPECIFIC_ERROR
constexpr std::uint32_t kLongestStopSeconds = 24 * 60 * 60;

} // namespace

std::uint32_t stopTimeoutMilliseconds(const std::wstring& text) {
    std::uint32_t seconds = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return kDefaultStopTimeoutMs;
        seconds = seconds * 10 + static_cast<std::uint32_t>(c - L'0');
        if (seconds > kLongestStopSeconds)
            seconds = kLongestStopSeconds;
    }
    return seconds == 0 ? kDefaultStopTimeoutMs : seconds * 1000;
}

ServiceExitCodes serviceExitCodes(std::uint32_t exitCode) {
    if (exitCode == 0)
        return {};
    if (exitCode == kStopTimeoutExitCode)
        return {kStopTimeoutExitCode, 0};
    return {kServiceSpecificError, exitCode};
}
