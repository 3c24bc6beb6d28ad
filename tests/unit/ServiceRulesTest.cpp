// What a service tells the Service Control Manager, and how long its stop may take.
#include "launcher/ServiceRules.h"

#include <gtest/gtest.h>

namespace {

TEST(ServiceRules, StopTimeoutIsWholeSecondsOrTheDefault) {
    EXPECT_EQ(stopTimeoutMilliseconds(L"30"), 30000u);
    // Not a count of seconds: the default, rather than a stop that may never end or that has
    // no time at all.
    for (const wchar_t* text : {L"", L"0", L"-5", L"2.5", L"10s", L" 10"})
        EXPECT_EQ(stopTimeoutMilliseconds(text), kDefaultStopTimeoutMs) << text;
    // A day at most, so that the milliseconds never wrap.
    EXPECT_EQ(stopTimeoutMilliseconds(L"99999999999999999999"), 86400000u);
}

TEST(ServiceRules, ExitCodesAsTheManagerReportsThem) {
    struct Row {
        std::uint32_t exitCode, win32, specific;
    };
    const Row rows[] = {
        {0, 0, 0},
        {3, 1066, 3},
        // A failed launch keeps its code, so that the recovery actions see a failure.
        {4294967295u, 1066, 4294967295u},
        {kStopTimeoutExitCode, kStopTimeoutExitCode, 0},
    };
    for (const Row& row : rows) {
        const ServiceExitCodes codes = serviceExitCodes(row.exitCode);
        EXPECT_EQ(codes.win32ExitCode, row.win32) << row.exitCode;
        EXPECT_EQ(codes.serviceSpecificExitCode, row.specific) << row.exitCode;
    }
}

} // namespace
