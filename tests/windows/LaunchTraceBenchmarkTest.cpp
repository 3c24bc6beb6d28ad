// What the launch trace costs a launch that does not ask for it: every event of a launch that
// reads the settings, searches the registry and starts the VM, with QOVA_LAUNCHER_TRACE absent.
// Prints the time per launch rather than asserting one; scripts/bench.sh runs it, beside the
// end-to-end figure of a launch with the trace on and off.
#include "jvm/Jni.h"
#include "launcher/LaunchTrace.h"
#include "launcher/TraceLine.h"
#include "runtime/CandidateOrder.h"
#include "runtime/RuntimeFamilies.h"
#include "runtime/RuntimeProbe.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// The events of one launch as the launch writes them, with arguments the launcher holds at
// the time: about the seventy lines of a traced launch through the registry.
void eventsOfOneLaunch(const std::vector<JreCandidate>& candidates, const FoundJvmLibrary& library,
                       const std::vector<JavaVMOption>& options,
                       const std::vector<std::wstring>& arguments, const std::wstring& text) {
    traceSettingsFile(text, 0);
    traceUserSettingsFile(text, false);
    for (int i = 0; i < 30; ++i)
        traceSetting(text, text, text, SettingOrigin::file);
    traceStage("settings", true);
    traceStage("application", true);
    traceSearch("registry", false);
    for (const RuntimeFamily& family : runtimeFamilies())
        traceFamily(family, FamilyRule::searched);
    for (const JreCandidate& candidate : candidates)
        traceRegisteredRuntime("registry", runtimeFamilies()[1], text, candidate.version,
                               refusalOf(BoundsCheck::aboveMaximum), text, &library, true);
    traceCandidateOrder(candidates);
    tracePick(CandidatePick{&candidates.front(), nullptr});
    traceStage("runtime", true);
    for (const wchar_t* name : {L"QOVA_JVM_PATH", L"QOVA_JVM_HOME", L"Path"})
        traceEnvironment(name, text);
    traceStage("splash", true);
    traceJvmLibrary(text, 0, nullptr);
    traceStage("jvm-library", true);
    traceStage("options", true);
    traceMainThread(1 << 20);
    traceVmOptions(options);
    traceVmCreated(0);
    traceMainArguments(arguments);
    traceMain(text, "called");
    traceMain(text, "returned");
    traceResult("java-main-thread", 0);
    traceExit(0, "launcher");
}

TEST(LaunchTraceBenchmark, DISABLED_EventsOfOneLaunchWithTheTraceOff) {
    // Never opened in this process: the state of every launch without the variable.
    ASSERT_FALSE(isLaunchTraced());
    const std::wstring text(200, L'x');
    const std::vector<JreCandidate> candidates(8, JreCandidate{{1, 8, 0, 45}, text, true, true});
    const FoundJvmLibrary library{text, true};
    char option[] = "-Djava.class.path=C:\\Program Files\\Application\\lib\\app.jar";
    const std::vector<JavaVMOption> options(6, JavaVMOption{option, nullptr});
    const std::vector<std::wstring> arguments(4, text);

    constexpr int kLaunches = 200000;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kLaunches; ++i)
        eventsOfOneLaunch(candidates, library, options, arguments, text);
    QueryPerformanceCounter(&end);
    const double ns = 1e9 * static_cast<double>(end.QuadPart - start.QuadPart) /
                      static_cast<double>(frequency.QuadPart) / kLaunches;
    std::printf("[ BENCH    ] trace off: the events of one launch cost %.0f ns in all (%.4f ms)\n",
                ns, ns / 1e6);
}

} // namespace
