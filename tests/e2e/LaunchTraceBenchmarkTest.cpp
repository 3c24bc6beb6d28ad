// A whole launch, from process start to the application's main method, without the trace
// variable and with it naming a file: what a trace costs when asked for, beside the launch
// that does not ask. Prints the figures rather than asserting a time (Wine and the machine set
// the pace); scripts/bench.sh runs it.
#include "JavaApp.h"
#include "TraceFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace testjvm;

namespace {

constexpr int kRounds = 11;
constexpr DWORD kExitFromMain = 7;

double medianMs(std::vector<double> times) {
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

double timedMs(const JavaApp& app, const LaunchOptions& options) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const LaunchResult result = app.launch(options);
    QueryPerformanceCounter(&end);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, kExitFromMain);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

TEST(LaunchTraceBenchmark, DISABLED_LaunchWithoutAndWithTheTrace) {
    JavaApp app;
    app.writeSettings({.vmParameters = L"-Xmx64m -Dapp.mode=bench"});
    ASSERT_TRUE(app.writeScript(JavaApp::script({Action::exit(kExitFromMain)})));
    TempFolder traces;
    const std::wstring traceFile = traces.file(L"launch.trace");
    const LaunchOptions off{.environment = {{L"QOVA_LAUNCHER_TRACE", std::nullopt}}};
    const LaunchOptions on{.environment = {{L"QOVA_LAUNCHER_TRACE", traceFile}}};

    // One round of each first, unmeasured: the first start of a program pays for loading it.
    timedMs(app, off);
    timedMs(app, on);
    std::vector<double> offTimes, onTimes;
    // Which goes first alternates: a launch that follows another may find more in the caches.
    for (int round = 0; round < kRounds; ++round) {
        DeleteFileW(traceFile.c_str());
        if (round % 2 == 0) {
            offTimes.push_back(timedMs(app, off));
            onTimes.push_back(timedMs(app, on));
        } else {
            onTimes.push_back(timedMs(app, on));
            offTimes.push_back(timedMs(app, off));
        }
    }
    const size_t lines = readTrace(traceFile).events.size();
    const double without = medianMs(offTimes);
    const double with = medianMs(onTimes);
    std::printf("[ BENCH    ] process start to main, median of %d: trace off %.1f ms, trace on "
                "%.1f ms (%+.1f ms for %zu lines)\n",
                kRounds, without, with, with - without, lines);
    EXPECT_GT(lines, 0u);
}

} // namespace
