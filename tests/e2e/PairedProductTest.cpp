// Handing the launch over to the paired launcher when only a 32-bit runtime qualifies. The
// paired launcher is a probe that writes down its command line and ends with the code the
// test gives it through the environment, which it inherits through the launcher.
#include "JavaApp.h"
#include "ScopedRegistryKey.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>

using namespace testjvm;

namespace {

constexpr DWORD kFailureExitCode = 4294967295u;
constexpr wchar_t kSunRuntimeKey[] = L"Software\\JavaSoft\\Java Runtime Environment\\";
// Neither a private runtime beside the exe nor in jre64.
const RuntimeLayout notAHome{.javaLibrary = false};

// The paired launcher in a folder whose name has a blank, as "Program Files (x86)" does.
std::wstring placeProbe(const AppFolder& app) {
    createFolders(app.file(L"paired launcher"));
    const std::wstring path = app.file(L"paired launcher\\app32.exe");
    if (!CopyFileW((testProgramFolder() + L"\\paired_probe.exe").c_str(), path.c_str(), FALSE))
        return {};
    return path;
}

// The command line the probe was started with, once it has written it.
std::optional<std::wstring> probeCommandLine(const std::wstring& probe) {
    const std::wstring path = probe + L".cmdline";
    for (int tries = 0; tries < 600; ++tries) {
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
            Sleep(100); // let it finish writing
            const std::string bytes = readBytesFile(path);
            return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                                bytes.size() / sizeof(wchar_t));
        }
        Sleep(100);
    }
    return std::nullopt;
}

int argumentCount(const std::wstring& commandLine) {
    int count = 0;
    LocalFree(CommandLineToArgvW(commandLine.c_str(), &count));
    return count;
}

std::wstring settingsFor(const std::wstring& probe, const wchar_t* pairReturnCode) {
    std::wstring lines = L"Pair Product=" + probe + L"\r\n";
    if (pairReturnCode)
        lines += std::wstring(L"Pair Return Code=") + pairReturnCode + L"\r\n";
    return lines;
}

TEST(PairedProduct, RuntimeOnlyInThe32BitViewStartsThePairedLauncher) {
    JavaApp app(notAHome);
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    // A runtime the launcher could load if it tried, registered where only a 32-bit
    // launcher looks: had it been loaded, its record would show it.
    const std::wstring registered = layOutRuntime(app.app.file(L"registered32"));
    ASSERT_FALSE(registered.empty());
    ASSERT_TRUE(writeScript(registered, JavaApp::script()));
    const ScopedRegistryKey key(std::wstring(kSunRuntimeKey) + L"8131.1", true,
                                JavaHomeValue{registered});
    ASSERT_TRUE(key.created());
    const std::wstring probe = placeProbe(app.app);
    ASSERT_FALSE(probe.empty());

    struct Row {
        const wchar_t* pairReturnCode;
        DWORD exitCode;
    };
    for (const Row row : {Row{L"yes", 7}, Row{L"YeS", 7}, Row{L"no", 0}, Row{nullptr, 0}}) {
        SCOPED_TRACE(row.pairReturnCode ? narrow(row.pairReturnCode) : "absent");
        DeleteFileW((probe + L".cmdline").c_str());
        app.writeSettings({.runtimeLines = L"Minimum Version=8131\r\nMaximum Version=8131.9\r\n",
                           .applicationLines = settingsFor(probe, row.pairReturnCode)});
        const LaunchResult result = app.launch({.arguments = L"first \"second one\"",
                                                .environment = {{L"QOVA_PROBE_EXIT_CODE", L"7"}}});
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, row.exitCode);
        EXPECT_TRUE(result.messageBoxes.empty());
        const auto commandLine = probeCommandLine(probe);
        ASSERT_TRUE(commandLine);
        // The paired launcher gets its own path and none of the launch's arguments.
        EXPECT_EQ(argumentCount(*commandLine), 1) << narrow(*commandLine);
        EXPECT_FALSE(readRecord(registered));
        EXPECT_FALSE(readRecord(app.runtimeHome));
    }
}

TEST(PairedProduct, ThirtyTwoBitJrePathHandsOverOnlyWithAPairedLauncher) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    createFolders(app.app.file(L"rt32\\bin\\server"));
    const std::wstring library = app.app.file(L"rt32\\bin\\server\\jvm.dll");
    ASSERT_TRUE(writeX86Library(library));
    const std::wstring probe = placeProbe(app.app);
    ASSERT_FALSE(probe.empty());

    for (const bool paired : {true, false}) {
        SCOPED_TRACE(paired);
        DeleteFileW((probe + L".cmdline").c_str());
        app.writeSettings({.runtimeLines = L"JRE Path=" + app.app.file(L"rt32") + L"\r\n",
                           .applicationLines = paired ? settingsFor(probe, L"Yes") : L""});
        const LaunchResult result = app.launch({.environment = {{L"QOVA_PROBE_EXIT_CODE", L"5"}}});
        ASSERT_FALSE(result.timedOut);
        if (paired) {
            EXPECT_EQ(result.exitCode, 5u);
            EXPECT_TRUE(result.messageBoxes.empty());
            EXPECT_TRUE(probeCommandLine(probe));
        } else {
            // Loaded directly, which a 64-bit process cannot do: ERROR_BAD_EXE_FORMAT.
            EXPECT_EQ(result.exitCode, kFailureExitCode);
            EXPECT_EQ(result.messageTexts(),
                      std::vector<std::wstring>{L"Failed to load Java VM library: " + library +
                                                L" (errno = 193).\n"});
            EXPECT_EQ(GetFileAttributesW((probe + L".cmdline").c_str()), INVALID_FILE_ATTRIBUTES);
        }
        // The private runtime beside the exe was not reached either way.
        EXPECT_FALSE(readRecord(app.runtimeHome));
    }
}

} // namespace
