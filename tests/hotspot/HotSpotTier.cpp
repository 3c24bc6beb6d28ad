// The launcher's conversation with the VM against HotSpot: each case of tests/common/VmCases.h
// runs in a process of its own (this program again, with --case), against each runtime the
// tier was given, and is judged by what its Java side recorded, the host's record of what the
// conversation did, the exit code and what the VM printed. A JNI warning or error that
// -Xcheck:jni reports fails the case.
//
//   hotspot_tier DATA-FOLDER            the GoogleTest run (tests/hotspot/run.sh lays DATA out)
//   hotspot_tier --case N LIBJVM DATA   one case, in this process
// The runtimes: QOVA_HOTSPOT_17 and QOVA_HOTSPOT_25 name each one's home; a missing 25 is
// skipped, a missing 17 fails.
#include "HostCase.h"
#include "HostRecord.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>

extern char** environ;

namespace {

std::string dataFolder;

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The lines of a record, each split at its tabs.
std::vector<std::vector<std::string>> recordLines(const std::string& path) {
    std::vector<std::vector<std::string>> lines;
    std::istringstream text(readFile(path));
    for (std::string line; std::getline(text, line);) {
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            fields.push_back(line.substr(start, tab - start));
        fields.push_back(line.substr(start));
        lines.push_back(fields);
    }
    return lines;
}

std::vector<std::string> linesOf(const std::vector<std::vector<std::string>>& lines,
                                 const std::string& event) {
    for (const auto& line : lines)
        if (line.front() == event)
            return line;
    return {};
}

std::vector<std::string> narrowAll(const std::vector<std::wstring>& texts) {
    std::vector<std::string> result;
    for (const std::wstring& text : texts)
        result.push_back(narrow(text));
    return result;
}

struct Outcome {
    int exitCode = -1;
    std::vector<std::vector<std::string>> java; // what the Java classes recorded
    std::vector<std::vector<std::string>> host; // what the conversation did
    std::string printed;                        // the VM's standard output and error
};

Outcome runCase(std::size_t index, const std::string& runtime, const std::string& libjvm) {
    const std::string base = dataFolder + "/runs/" + runtime + "-" + vmcases::kVmCases[index].name;
    for (const char* suffix : {".java", ".host", ".out"})
        std::filesystem::remove(base + suffix);
    setenv("QOVA_RECORD", (base + ".java").c_str(), 1);
    setenv("QOVA_HOST_RECORD", (base + ".host").c_str(), 1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, (base + ".out").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const std::string indexText = std::to_string(index);
    std::string self = std::filesystem::read_symlink("/proc/self/exe");
    char* const argv[] = {self.data(), const_cast<char*>("--case"),
                          const_cast<char*>(indexText.c_str()), const_cast<char*>(libjvm.c_str()),
                          dataFolder.data(), nullptr};
    pid_t child = 0;
    Outcome outcome;
    if (posix_spawn(&child, self.c_str(), &actions, nullptr, argv, environ) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    outcome.java = recordLines(base + ".java");
    outcome.host = recordLines(base + ".host");
    outcome.printed = readFile(base + ".out");
    return outcome;
}

void expectOutcome(const vmcases::VmCase& row, const Outcome& outcome) {
    SCOPED_TRACE("The VM printed:\n" + outcome.printed);
    // -Xcheck:jni reports misuse as a warning and goes on, or as a fatal error.
    EXPECT_EQ(outcome.printed.find("in native method"), std::string::npos);
    EXPECT_EQ(outcome.exitCode, static_cast<int>(row.exitCode & 0xFF));
    EXPECT_EQ(!linesOf(outcome.host, "vm-version").empty(), row.created);
    EXPECT_NE(outcome.printed.find(narrow(row.standardError)), std::string::npos)
        << row.standardError.size();

    std::string started;
    std::vector<std::string> received;
    for (const auto& line : outcome.java)
        if (line.front() == "main" || line.front() == "start") {
            EXPECT_TRUE(started.empty()) << "started twice";
            started = line[1] + "." + line.front();
            received.assign(line.begin() + 2, line.end());
        }
    EXPECT_EQ(started, narrow(row.started));
    EXPECT_EQ(received, narrowAll(row.received));

    const std::vector<std::string> message = linesOf(outcome.host, "message");
    EXPECT_EQ(message.empty() ? 0u : std::stoul(message[1]), row.messageId);
    // The creation-failure message's reason: string 225 "unknown" or 230 "invalid arguments".
    if (row.messageId == 203 && message.size() == 4) {
        EXPECT_EQ(message[3] == "230", row.message.find(L"invalid arguments") != std::wstring::npos);
    }
    if (const std::vector<std::string> exception = linesOf(outcome.host, "exception");
        !exception.empty()) {
        EXPECT_EQ(exception[1], narrow(row.standardError));
    }
    const std::vector<std::string> exitHook = linesOf(outcome.host, "exit-hook");
    EXPECT_EQ(!exitHook.empty() && exitHook[1] == std::to_string(row.exitCode), row.exitHook);

    std::vector<std::string> secondary = linesOf(outcome.java, "secondaryMain");
    if (!secondary.empty())
        secondary.erase(secondary.begin(), secondary.begin() + 2);
    EXPECT_EQ(secondary, narrowAll(row.secondaryArguments));
    std::vector<std::string> stop = linesOf(outcome.java, "stop");
    if (!stop.empty())
        stop.erase(stop.begin(), stop.begin() + 2);
    EXPECT_EQ(stop, narrowAll(row.stopArguments));
    EXPECT_EQ(!linesOf(outcome.java, "worker-ended").empty(), row.outlivesMain);
    EXPECT_EQ(!linesOf(outcome.java, "hook").empty(), row.hookRan);
}

class HotSpotCase : public ::testing::TestWithParam<std::tuple<std::string, std::size_t>> {};

TEST_P(HotSpotCase, OutcomeAsTheTableSays) {
    const auto& [runtime, index] = GetParam();
    const char* const home = std::getenv(("QOVA_HOTSPOT_" + runtime).c_str());
    if (!home || !*home) {
        if (runtime == "17")
            FAIL() << "no HotSpot 17: QOVA_HOTSPOT_17 names no runtime home";
        GTEST_SKIP() << "SKIPPED: no HotSpot " << runtime << " on this machine";
    }
    const std::string libjvm = std::string(home) + "/lib/server/libjvm.so";
    const vmcases::VmCase& row = vmcases::kVmCases[index];
    const Outcome outcome = runCase(index, runtime, libjvm);
    // Each library once, with the version it reported.
    static std::set<std::string> named;
    if (const auto version = linesOf(outcome.host, "vm-version");
        !version.empty() && named.insert(libjvm).second)
        std::cout << "HotSpot " << runtime << ": loaded " << libjvm << ", version " << version[1]
                  << std::endl;
    expectOutcome(row, outcome);
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<std::string, std::size_t>>& info) {
    std::string name = "HotSpot" + std::get<0>(info.param) + "_" +
                       vmcases::kVmCases[std::get<1>(info.param)].name;
    for (char& c : name)
        if (c == '-')
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, HotSpotCase,
                         ::testing::Combine(::testing::Values("17", "25"),
                                            ::testing::Range<std::size_t>(0,
                                                                          vmcases::kVmCases.size())),
                         caseName);

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--case")
        return runHostCase(vmcases::kVmCases.at(std::stoul(argv[2])), argv[3], argv[4]);
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::cerr << "usage: hotspot_tier DATA-FOLDER\n";
        return 2;
    }
    dataFolder = argv[1];
    std::filesystem::create_directories(dataFolder + "/runs");
    return RUN_ALL_TESTS();
}
