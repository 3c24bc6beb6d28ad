// Runtimes no installer would leave behind: a JVM library that is cut short, is no executable
// image at all, or is one for a processor this machine's launchers cannot load; and registry
// families holding thousands of registrations whose home values have the wrong type, are
// huge, or lead nowhere. The launcher never crashes or hangs on them and never reports a failed
// launch as a success: it loads a runtime that works, or shows the message the failure calls
// for.
#include "JavaApp.h"
#include "ScopedRegistryKey.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace testjvm;

namespace {

constexpr DWORD kFailureExitCode = 4294967295u;
constexpr wchar_t kSunRuntimeKey[] = L"Software\\JavaSoft\\Java Runtime Environment\\";
constexpr DWORD kBadExeFormat = 193; // ERROR_BAD_EXE_FORMAT
// Long enough for a search through thousands of registrations under a loaded machine.
constexpr DWORD kTimeoutMs = 120000;

std::string randomBytes(size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    return bytes;
}

// The working library with its file header's machine field changed.
std::string withMachine(std::string image, uint16_t machine) {
    const uint32_t ntHeaders = *reinterpret_cast<const uint32_t*>(image.data() + 0x3C);
    image[ntHeaders + 4] = static_cast<char>(machine & 0xFF);
    image[ntHeaders + 5] = static_cast<char>(machine >> 8);
    return image;
}

std::wstring failedToLoad(const std::wstring& library, DWORD error) {
    return L"Failed to load Java VM library: " + library + L" (errno = " + std::to_wstring(error) +
           L").\n";
}

TEST(HostileRuntime, BrokenJvmLibraryIsReportedWithTheReasonItDidNotLoad) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    app.writeSettings();
    const std::wstring library = jvmLibraryOf(app.runtimeHome);
    const std::string working = readBytesFile(library);
    ASSERT_GT(working.size(), 4096u);

    struct Row {
        const char* name;
        std::string bytes;
    };
    const Row rows[] = {
        {"text", "This is not a library.\r\n"},
        {"random bytes", randomBytes(64 * 1024, 193)},
        {"only the DOS header", working.substr(0, 64)},
        {"headers without sections", working.substr(0, 1024)},
        {"cut in half", working.substr(0, working.size() / 2)},
        // A processor that neither launcher runs on, so neither hands over.
        {"built for ARM64", withMachine(working, 0xAA64)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        clearRecord(app.runtimeHome);
        writeBytesFile(library, row.bytes);
        const LaunchResult result = app.launch({.timeoutMs = kTimeoutMs});
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, kFailureExitCode);
        EXPECT_EQ(result.messageTexts(),
                  std::vector<std::wstring>{failedToLoad(library, kBadExeFormat)});
        EXPECT_FALSE(readRecord(app.runtimeHome));
    }

    // The same folder with the library put back launches: nothing of the failures stayed.
    clearRecord(app.runtimeHome);
    writeBytesFile(library, working);
    const LaunchResult result = app.launch({.timeoutMs = kTimeoutMs});
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_TRUE(result.messageBoxes.empty());
    EXPECT_EQ(app.record().callsOf(L"main").size(), 1u);
}

// Registrations made for one test and removed with it, the newest first so that a family key
// the first one had to create goes last.
class Registrations {
  public:
    ~Registrations() {
        while (!keys_.empty())
            keys_.pop_back();
    }
    bool add(const std::wstring& name, const std::optional<JavaHomeValue>& home) {
        keys_.push_back(std::make_unique<ScopedRegistryKey>(std::wstring(kSunRuntimeKey) + name,
                                                            tested::kOwnRegistryViewIs32Bit, home));
        return keys_.back()->created();
    }
    void removeLast() { keys_.pop_back(); }

  private:
    std::vector<std::unique_ptr<ScopedRegistryKey>> keys_;
};

// A "JavaHome" that leads nowhere, in each way an installer or a user could break it.
std::optional<JavaHomeValue> brokenHome(int index, const std::wstring& folder) {
    const std::string bytes = randomBytes(64 + index % 61, static_cast<unsigned>(index));
    const std::wstring noise(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
    switch (index % 7) {
    case 0:
        return std::nullopt;
    case 1:
        return JavaHomeValue{L"\x0042\x0001", REG_DWORD, false}; // four bytes of a number
    case 2:
        return JavaHomeValue{folder + L"\\gone", REG_MULTI_SZ};
    case 3:
        return JavaHomeValue{noise, REG_BINARY, false};
    case 4:
        return JavaHomeValue{folder + L"\\gone" + std::to_wstring(index), REG_SZ, false};
    case 5:
        return JavaHomeValue{L"%QOVA_NO_SUCH_VARIABLE%\\" + std::to_wstring(index), REG_EXPAND_SZ};
    default:
        return JavaHomeValue{L""};
    }
}

TEST(HostileRuntime, ThousandsOfBrokenRegistrationsArePassedOverForTheOneThatWorks) {
    // Nothing beside the exe: the search reaches the registry.
    JavaApp app({.javaLibrary = false});
    const std::wstring installed = layOutRuntime(app.app.file(L"installed"));
    ASSERT_FALSE(installed.empty());
    ASSERT_TRUE(writeScript(installed, JavaApp::script()));
    app.writeSettings({.runtimeLines = L"Minimum Version=8174\r\nMaximum Version=8174.9\r\n"});

    // Every broken registration is newer than the working one, so each would be chosen first
    // if it were taken. Two homes are a megabyte long: a folder name, and separators alone.
    Registrations registrations;
    constexpr int kBroken = 3000;
    for (int i = 0; i < kBroken; ++i)
        ASSERT_TRUE(
            registrations.add(L"8174.5." + std::to_wstring(i), brokenHome(i, app.app.folder())))
            << i;
    ASSERT_TRUE(registrations.add(L"8174.6", JavaHomeValue{L"C:\\" + std::wstring(1 << 20, L'x')}));
    ASSERT_TRUE(registrations.add(L"8174.7", JavaHomeValue{std::wstring(1 << 20, L'\\')}));
    ASSERT_TRUE(registrations.add(L"8174.1", JavaHomeValue{installed}));

    const LaunchResult launched = app.launch({.timeoutMs = kTimeoutMs});
    ASSERT_FALSE(launched.timedOut);
    EXPECT_EQ(launched.exitCode, 0u);
    EXPECT_TRUE(launched.messageBoxes.empty());
    const auto record = readRecord(installed);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->callsOf(L"main").size(), 1u);

    // Without it nothing qualifies: the user is asked, and cancelling fails the launch.
    registrations.removeLast();
    clearRecord(installed);
    int dialogs = 0;
    LaunchOptions options{.timeoutMs = kTimeoutMs};
    options.onDialog = [&dialogs](HWND dialog) {
        ++dialogs;
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    };
    const LaunchResult cancelled = app.launch(options);
    ASSERT_FALSE(cancelled.timedOut);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(cancelled.exitCode, kFailureExitCode);
    EXPECT_TRUE(cancelled.messageBoxes.empty());
    EXPECT_FALSE(readRecord(installed));
}

} // namespace
