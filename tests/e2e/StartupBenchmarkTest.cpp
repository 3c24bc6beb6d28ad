// How long the launcher takes from process start to the application's main method, against a
// minimal host that only loads the JVM library, creates the VM and calls main. main exits at
// once, so each process lives from its start to main. Prints the figures and their ratio
// rather than asserting a time (Wine and the machine set the pace); scripts/bench.sh runs it.
#include "JavaApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace testjvm;

namespace {

constexpr int kRounds = 11;

double medianMs(std::vector<double> times) {
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

double timedMs(const std::wstring& exePath, const LaunchOptions& options, DWORD expectedExit) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const LaunchResult result = runProgram(exePath, options);
    QueryPerformanceCounter(&end);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, expectedExit);
    EXPECT_TRUE(result.messageBoxes.empty());
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

TEST(StartupBenchmark, DISABLED_ProcessStartToMainAgainstAMinimalHost) {
    constexpr DWORD kExitFromMain = 7;
    JavaApp app;
    app.writeSettings();
    ASSERT_TRUE(app.writeScript(JavaApp::script({Action::exit(kExitFromMain)})));

    // The host's VM has the class path "." only, so its class is found anywhere.
    TempFolder hostFolder;
    const std::wstring hostRuntime = layOutRuntime(hostFolder.file(L"jre"));
    Script hostScript;
    hostScript.classes.push_back(JavaClass(JavaApp::kMainClass));
    hostScript.mainActions = {Action::exit(kExitFromMain)};
    ASSERT_TRUE(writeScript(hostRuntime, hostScript));
    const std::wstring host = testProgramFolder() + L"\\testjvm_host.exe";
    const LaunchOptions hostOptions{.arguments = L"\"" + jvmLibraryOf(hostRuntime) + L"\" run " +
                                                 JavaApp::kMainClass};

    std::vector<double> launcherTimes, hostTimes;
    // One round of each first, unmeasured: the first start of a program pays for loading it.
    timedMs(app.app.exePath(), {}, kExitFromMain);
    timedMs(host, hostOptions, kExitFromMain);
    for (int round = 0; round < kRounds; ++round) {
        launcherTimes.push_back(timedMs(app.app.exePath(), {}, kExitFromMain));
        hostTimes.push_back(timedMs(host, hostOptions, kExitFromMain));
    }
    const double launcher = medianMs(launcherTimes);
    const double minimal = medianMs(hostTimes);
    std::printf("process start to main, median of %d: launcher %.1f ms, minimal host %.1f ms, "
                "ratio %.2f\n",
                kRounds, launcher, minimal, launcher / minimal);
    // Every launch reached main (the record keeps each one's call).
    EXPECT_EQ(app.record().callsOf(L"main").size(), static_cast<size_t>(kRounds + 1));
}

} // namespace
