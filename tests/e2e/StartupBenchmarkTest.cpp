// Where a launch spends its time, from process creation to the application's main method, and
// the memory it holds as the VM is created, against a bare host that only loads the JVM library,
// creates the VM and calls main (bare_host.cpp). The runs of the launcher, of its staged twin
// (staged_launcher.cpp: the same code with a mark after each stage) and of the bare host are
// interleaved, and each figure is the median of its runs. Times count from just before the
// process is created; the test runtime marks VM creation and the call of main. Prints the
// figures rather than asserting a time (Wine and the machine set the pace); scripts/bench.sh
// runs it.
#include "JavaApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

using namespace testjvm;

namespace {

constexpr int kRounds = 21;

// Times in ms since process creation by stage, and memory in KiB at VM creation.
using Figures = std::map<std::string, double>;

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

double msBetween(long long startTicks, long long ticks) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(ticks - startTicks) /
           static_cast<double>(frequency.QuadPart);
}

// The stages in the order a launch passes them; the bare host passes a few of them.
const std::vector<std::string> kStages = {"entry",
                                          "start",
                                          "settings",
                                          "runtime selection",
                                          "environment",
                                          "splash",
                                          "JVM library load",
                                          "options",
                                          "VM creation begins",
                                          "VM created",
                                          "main"};

// One timed run of a program whose runtime is `runtimeHome`: the marks the program wrote to
// `marksFile` (none for the launcher itself), the test runtime's clock and memory figures.
Figures timedRun(const std::wstring& exePath, const std::wstring& arguments,
                 const std::wstring& runtimeHome, const std::wstring& marksFile) {
    DeleteFileW((runtimeHome + L"\\testjvm.record").c_str());
    DeleteFileW(marksFile.c_str());
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    const LaunchResult result =
        runProgram(exePath, {.arguments = arguments,
                             .environment = {{L"QOVA_STAGE_TIMES", marksFile}},
                             .timeoutMs = 120000});
    EXPECT_FALSE(result.timedOut) << narrow(exePath);
    EXPECT_EQ(result.exitCode, 0u) << narrow(exePath);
    EXPECT_TRUE(result.messageBoxes.empty()) << narrow(exePath);

    Figures figures;
    const std::string marks = readBytesFile(marksFile);
    for (size_t at = 0; at < marks.size();) {
        const size_t end = std::min(marks.find('\n', at), marks.size());
        const std::string line = marks.substr(at, end - at);
        const size_t blank = line.rfind(' ');
        if (blank != std::string::npos)
            figures[line.substr(0, blank)] =
                msBetween(start.QuadPart, std::stoll(line.substr(blank + 1)));
        at = end + 1;
    }
    const Record record = readRecord(runtimeHome).value_or(Record{});
    const std::pair<const char*, const char*> clocks[] = {
        {"VM creation begins", "create"}, {"VM created", "created"}, {"main", "call"}};
    for (const auto& [stage, event] : clocks)
        if (const auto ticks = record.clockTicks(event))
            figures[stage] = msBetween(start.QuadPart, *ticks);
    EXPECT_TRUE(figures.count("main")) << narrow(exePath) << " did not reach main";
    if (const auto bytes = record.lastNumber(key::kCreatePrivateBytes))
        figures["private KiB"] = static_cast<double>(*bytes) / 1024;
    if (const auto bytes = record.lastNumber(key::kCreateCommitCharge))
        figures["commit KiB"] = static_cast<double>(*bytes) / 1024;
    return figures;
}

// Medians of each figure over the runs.
Figures medians(const std::vector<Figures>& runs) {
    std::map<std::string, std::vector<double>> values;
    for (const Figures& run : runs)
        for (const auto& [name, value] : run)
            values[name].push_back(value);
    Figures result;
    for (const auto& [name, list] : values)
        result[name] = median(list);
    return result;
}

struct Runs {
    std::vector<Figures> launcher, staged, bare;
};

// An application as the benchmark launches it: the launcher and its staged twin beside the
// same settings, the test runtime as its private runtime, and a class path of `jarCount` jars
// beside the application's own, named one by one in the settings when `oneByOne`, else found
// through \lib\*.jar.
struct BenchApp {
    explicit BenchApp(int jarCount = 0, bool oneByOne = false, int extraKeys = 0) {
        std::wstring classPath = L"\\lib\\*.jar";
        if (oneByOne) {
            classPath = L"\\lib\\app.jar";
            for (int i = 0; i < jarCount; ++i)
                classPath += L";\\lib\\" + jarName(i);
        }
        for (int i = 0; i < jarCount; ++i)
            writeBytesFile(java.app.besideExe(L"lib\\" + jarName(i)), "PK");
        // Keys of other programs in the launcher's own sections, ahead of its keys.
        std::wstring runtimeLines, applicationLines;
        for (int i = 0; i < extraKeys; ++i)
            (i % 2 ? runtimeLines : applicationLines) +=
                L"Setting " + std::to_wstring(i) + L"=value " + std::to_wstring(i) + L"\r\n";
        java.writeSettings({.classPath = classPath,
                            .runtimeLines = runtimeLines,
                            .applicationLines = applicationLines});
        EXPECT_TRUE(java.writeScript(JavaApp::script()));
        staged = java.app.besideExe(L"staged.exe");
        EXPECT_TRUE(CopyFileW((testProgramFolder() + L"\\staged_launcher.exe").c_str(),
                              staged.c_str(), FALSE));
        EXPECT_TRUE(CopyFileW(java.app.besideExe(L"app.ini").c_str(),
                              java.app.besideExe(L"staged.ini").c_str(), FALSE));
        dateFileBack(java.app.besideExe(L"app.ini"));
        dateFileBack(java.app.besideExe(L"staged.ini"));
        // The bare host beside them too: a program's folder is where Windows looks first for
        // the libraries it loads, so every program starts from the same kind of folder.
        host = java.app.besideExe(L"bare_host.exe");
        EXPECT_TRUE(
            CopyFileW((testProgramFolder() + L"\\bare_host.exe").c_str(), host.c_str(), FALSE));
        // The bare host's class path: the jars as the launcher expands them.
        std::wstring hostClassPath = java.app.besideExe(JavaApp::kJar);
        for (int i = 0; i < jarCount; ++i)
            hostClassPath += L";" + java.app.besideExe(L"lib\\" + jarName(i));
        writeUtf16File(java.app.besideExe(L"host-class-path.txt"), hostClassPath);
        hostArguments = quotedArgument(jvmLibraryOf(java.runtimeHome)) + L" \"@" +
                        java.app.besideExe(L"host-class-path.txt") + L"\" " + JavaApp::kMainClass;
        marks = java.app.besideExe(L"marks.txt");
    }

    static std::wstring jarName(int i) { return L"library-module-" + std::to_wstring(i) + L".jar"; }

    Figures launcher() const { return timedRun(java.app.exePath(), L"", java.runtimeHome, marks); }
    Figures stagedLauncher() const { return timedRun(staged, L"", java.runtimeHome, marks); }
    Figures bareHost() const { return timedRun(host, hostArguments, java.runtimeHome, marks); }

    // Rounds of one run of each program. The order turns from round to round: a process that
    // has just ended may still be winding down as the next one starts.
    Runs interleavedRuns(int rounds) const {
        Runs runs;
        for (int round = 0; round < rounds; ++round) {
            for (int turn = 0; turn < 3; ++turn) {
                switch ((round + turn) % 3) {
                case 0:
                    runs.launcher.push_back(launcher());
                    break;
                case 1:
                    runs.staged.push_back(stagedLauncher());
                    break;
                default:
                    runs.bare.push_back(bareHost());
                }
            }
        }
        return runs;
    }

    JavaApp java;
    std::wstring staged;
    std::wstring host;
    std::wstring hostArguments;
    std::wstring marks;
};

void printStages(const Figures& staged, const Figures& bare) {
    std::printf("%-36s %10s %10s\n", "stage ends, ms since process creation", "launcher",
                "bare host");
    double previous = 0;
    for (const std::string& stage : kStages) {
        const auto ours = staged.find(stage);
        const auto theirs = bare.find(stage);
        if (ours == staged.end())
            continue;
        std::printf("%-36s %10.1f", stage.c_str(), ours->second);
        if (theirs != bare.end())
            std::printf(" %10.1f", theirs->second);
        else
            std::printf(" %10s", "-");
        std::printf("   (stage %.1f)\n", ours->second - previous);
        previous = ours->second;
    }
}

bool pathExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(StartupBenchmark, DISABLED_StagesAndMemoryAgainstABareHost) {
    ASSERT_TRUE(pathExists(testProgramFolder() + L"\\staged_launcher.exe"));
    ASSERT_TRUE(pathExists(testProgramFolder() + L"\\bare_host.exe"));
    BenchApp app;
    // One round of each first, unmeasured: the first start of a program pays for loading it.
    app.launcher();
    app.stagedLauncher();
    app.bareHost();
    const Runs runs = app.interleavedRuns(kRounds);
    const Figures launcher = medians(runs.launcher);
    const Figures staged = medians(runs.staged);
    const Figures bare = medians(runs.bare);

    std::printf("medians of %d interleaved runs of each\n", kRounds);
    printStages(staged, bare);
    std::printf("launcher.exe reaches main at %.1f ms, the bare host at %.1f ms: ratio %.3f, "
                "%.1f ms of the launcher's own\n",
                launcher.at("main"), bare.at("main"), launcher.at("main") / bare.at("main"),
                launcher.at("main") - bare.at("main"));
    std::printf("committed private memory as VM creation begins: launcher.exe %.0f KiB, bare "
                "host %.0f KiB, the launcher's own %.0f KiB\n",
                launcher.at("private KiB"), bare.at("private KiB"),
                launcher.at("private KiB") - bare.at("private KiB"));
    std::printf("commit charge as Windows reports it (Wine: private memory touched): "
                "launcher.exe %.0f KiB, bare host %.0f KiB\n",
                launcher.at("commit KiB"), bare.at("commit KiB"));
}

// A class path of 100, 1,000 and 10,000 jars named one by one, and the same jars through
// \lib\*.jar: the time to main of the launcher and of the bare host given the same class path
// (the VM's part, which checks every element), and the launcher's own options stage.
TEST(StartupBenchmark, DISABLED_ClassPathOfManyJars) {
    ASSERT_TRUE(pathExists(testProgramFolder() + L"\\staged_launcher.exe"));
    ASSERT_TRUE(pathExists(testProgramFolder() + L"\\bare_host.exe"));
    constexpr int kJarRounds = 5;
    std::printf("%6s %-12s %12s %12s %12s %12s\n", "jars", "named", "launcher", "bare host",
                "difference", "options");
    for (const int count : {100, 1000, 10000}) {
        for (const bool oneByOne : {true, false}) {
            BenchApp app(count, oneByOne);
            app.launcher();
            app.bareHost();
            const Runs runs = app.interleavedRuns(kJarRounds);
            const Figures launcher = medians(runs.launcher);
            const Figures staged = medians(runs.staged);
            const Figures bare = medians(runs.bare);
            std::printf("%6d %-12s %9.1f ms %9.1f ms %9.1f ms %9.1f ms\n", count,
                        oneByOne ? "one by one" : "\\lib\\*.jar", launcher.at("main"),
                        bare.at("main"), launcher.at("main") - bare.at("main"),
                        staged.at("options") - staged.at("JVM library load"));
        }
    }
}

// The settings stage of launches whose settings file holds the application's own 3 keys (the
// main class, the class path, the VM parameters), 100 and 10,000 keys. A new process reads the
// file once, then answers each read from what it read.
TEST(StartupBenchmark, DISABLED_SettingsOfManyKeys) {
    ASSERT_TRUE(pathExists(testProgramFolder() + L"\\staged_launcher.exe"));
    std::printf("%6s %16s %16s\n", "keys", "settings stage", "to main");
    for (const int keys : {3, 100, 10000}) {
        BenchApp app(0, false, keys - 3);
        app.stagedLauncher();
        std::vector<Figures> runs;
        for (int round = 0; round < 7; ++round)
            runs.push_back(app.stagedLauncher());
        const Figures staged = medians(runs);
        std::printf("%6d %13.1f ms %13.1f ms\n", keys, staged.at("settings") - staged.at("start"),
                    staged.at("main"));
    }
}

} // namespace
