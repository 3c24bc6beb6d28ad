// The 64-bit launcher and the real 32-bit launcher of the paired build, installed side by side
// on a machine whose only Java runtime is a 32-bit one: the 64-bit launcher hands the launch
// over, the 32-bit launcher loads the runtime and runs the application as its own settings
// file says, and its exit code becomes the 64-bit launcher's.
#include "JavaApp.h"
#include "ScopedRegistryKey.h"
#include "TestedBuild.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

using namespace testjvm;

namespace {

constexpr DWORD kFailureExitCode = 4294967295u;
constexpr wchar_t kSunRuntimeKey[] = L"Software\\JavaSoft\\Java Runtime Environment\\";
constexpr wchar_t kPairedMainClass[] = L"com/example/Paired";

// app.exe (64-bit) and app32.exe (32-bit) in one folder, each with its own settings file, no
// 64-bit runtime anywhere, and the 32-bit test runtime in rt32\ (registered or not).
class PairedInstallation {
  public:
    PairedInstallation()
        : app(RuntimeLayout{.javaLibrary = false}), pairedExe(app.app.file(L"app32.exe")),
          runtime32(layOutRuntime(app.app.file(L"rt32"),
                                  {.builtFolder = pairedBuildFolder() + L"\\testjvm"})) {}

    [[nodiscard]] bool ready() const {
        return !runtime32.empty() && CopyFileW((pairedBuildFolder() + L"\\launcher.exe").c_str(),
                                               pairedExe.c_str(), FALSE);
    }

    // Both main classes exist; main ends the application with System.exit(status).
    [[nodiscard]] bool writeScript(long long status) const {
        Script script = JavaApp::script({Action::printArgs(), Action::exit(status)});
        script.classes.push_back(JavaClass(kPairedMainClass, {kMainMethod}, {}, L"\\lib\\app.jar"));
        return testjvm::writeScript(runtime32, script);
    }

    // The 64-bit launcher's settings name the paired launcher; the 32-bit launcher's own name
    // another main class and a "Cmd" argument, so the record shows whose settings ran.
    void writeSettings(const std::wstring& runtimeLines) const {
        app.writeSettings(
            {.runtimeLines = runtimeLines,
             .applicationLines = L"Pair Product=" + pairedExe + L"\r\nPair Return Code=Yes\r\n"});
        writeUtf16File(app.app.file(L"app32.ini"),
                       L"[Java Runtime Environment]\r\nMain Class=com.example.Paired\r\n" +
                           runtimeLines +
                           L"[Class Path]\r\nClass Path=\\lib\\*.jar\r\n"
                           L"[Application]\r\nCmd=--from-paired-settings\r\n");
    }

    JavaApp app;
    std::wstring pairedExe;
    std::wstring runtime32;
};

class PairedLauncher : public testing::Test {
  protected:
    void SetUp() override {
        if (tested::kIsPairedBuild)
            GTEST_SKIP() << "the 32-bit launcher never hands over";
        if (pairedBuildRunsHere())
            return;
        // Set where the 32-bit tests must run (as in scripts/test.sh).
        if (GetEnvironmentVariableW(L"QOVA_REQUIRE_32BIT", nullptr, 0) != 0)
            FAIL() << "32-bit programs do not run on this machine";
        GTEST_SKIP() << "32-bit programs do not run on this machine (no 32-bit Wine)";
    }
};

TEST_F(PairedLauncher, ThirtyTwoBitRuntimeRunsInThePairedLauncherWithItsExitCode) {
    PairedInstallation installation;
    ASSERT_TRUE(installation.ready());
    const std::wstring runtime32 = installation.runtime32;
    // Found in the 32-bit registry view, or chosen through "JRE Path" by both launchers (and
    // then outside the version bounds, which do not apply to it).
    struct Row {
        bool registered;
        std::wstring runtimeLines;
        DWORD exitCode;
    };
    const std::vector<Row> rows{
        {true, L"Minimum Version=8133\r\nMaximum Version=8133.9\r\n", 9},
        {false, L"JRE Path=" + runtime32 + L"\r\nMinimum Version=99\r\n", 4294967294u},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.registered ? "registered" : "JRE Path");
        std::optional<ScopedRegistryKey> key;
        if (row.registered) {
            key.emplace(std::wstring(kSunRuntimeKey) + L"8133.1", true, JavaHomeValue{runtime32});
            ASSERT_TRUE(key->created());
        }
        ASSERT_TRUE(installation.writeScript(static_cast<int>(row.exitCode)));
        installation.writeSettings(row.runtimeLines);
        DWORD launcherProcess = 0;
        const LaunchResult result = installation.app.launch(
            {.arguments = L"not-for-the-paired-launcher",
             .whileRunning = [&launcherProcess](DWORD id) { launcherProcess = id; }});
        ASSERT_FALSE(result.timedOut);
        EXPECT_TRUE(result.messageBoxes.empty());
        EXPECT_EQ(result.exitCode, row.exitCode);

        const auto record = readRecord(runtime32);
        ASSERT_TRUE(record);
        // Loaded once, and not by the 64-bit launcher's process.
        ASSERT_EQ(record->loads.size(), 1u);
        EXPECT_NE(record->loads.front(), launcherProcess);
        EXPECT_EQ(record->environmentVariable(L"QOVA_JVM_PATH"),
                  jvmLibraryOf(runtime32, L"server"));
        const auto calls = record->callsOf(L"main");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls.front()->method, L"com.example.Paired.main([Ljava/lang/String;)V");
        EXPECT_EQ(calls.front()->arguments, std::vector<std::wstring>{L"--from-paired-settings"});
        EXPECT_EQ(record->exitStatuses, std::vector<long long>{static_cast<int>(row.exitCode)});
    }
}

TEST_F(PairedLauncher, SixtyFourBitJrePathFailsToLoadInThePairedLauncher) {
    PairedInstallation installation;
    ASSERT_TRUE(installation.ready());
    // The 64-bit test runtime of this build, chosen by folder in the 32-bit launcher's settings.
    const std::wstring runtime64 = layOutRuntime(installation.app.app.file(L"rt64"));
    ASSERT_FALSE(runtime64.empty());
    ASSERT_TRUE(writeScript(runtime64, JavaApp::script()));
    installation.writeSettings(L"JRE Path=" + runtime64 + L"\r\n");

    const LaunchResult result = runProgram(installation.pairedExe);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, kFailureExitCode);
    EXPECT_EQ(result.messageTexts(),
              std::vector<std::wstring>{L"Failed to load Java VM library: " +
                                        jvmLibraryOf(runtime64, L"server") + L" (errno = 193).\n"});
    EXPECT_FALSE(readRecord(runtime64));
}

} // namespace
