// Settings files and command lines no installer would write: binary garbage, text in another
// encoding, values of a megabyte, ten thousand sections or class path entries, a command line
// at the system's limit. The launcher never crashes or hangs on them and never reports a
// failed launch as a success: it launches, or it shows the message the failure calls for.
#include "JavaApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <span>
#include <string>
#include <vector>

using namespace testjvm;

namespace {

constexpr DWORD kFailureExitCode = 4294967295u;
constexpr wchar_t kNoMainClass[] = L"Main class was not specified in INI file.";
// Long enough for the slowest of these launches under a loaded machine.
constexpr DWORD kTimeoutMs = 120000;

// The settings JavaApp writes, as ANSI text lines ending in CR LF.
std::string plainSettings() {
    return "[Java Runtime Environment]\r\n"
           "Main Class=com.example.App\r\n"
           "[Class Path]\r\n"
           "Class Path=\\lib\\*.jar\r\n";
}

std::string randomBytes(size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    return bytes;
}

void expectLaunched(const LaunchResult& result, const JavaApp& app) {
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    for (const std::wstring& text : result.messageTexts())
        ADD_FAILURE() << "message box: " << narrow(text.substr(0, 200));
    EXPECT_EQ(app.record().callsOf(L"main").size(), 1u);
}

void expectOnlyMessage(const LaunchResult& result, const std::wstring& message) {
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, kFailureExitCode);
    EXPECT_EQ(result.messageTexts(), std::vector<std::wstring>{message});
}

std::wstring settingsPathOf(const JavaApp& app) {
    const std::wstring& exe = app.app.exePath();
    return exe.substr(0, exe.rfind(L'.') + 1) + L"ini";
}

// A settings file of raw bytes, and whether the launch it starts reaches main; one that does
// not reads as no settings at all.
struct SettingsFileRow {
    const char* name;
    std::string bytes;
    bool launches;
};

void launchEachSettingsFile(std::span<const SettingsFileRow> rows) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    for (const SettingsFileRow& row : rows) {
        SCOPED_TRACE(row.name);
        clearRecord(app.runtimeHome);
        writeBytesFile(settingsPathOf(app), row.bytes);
        const LaunchResult result = app.launch({.timeoutMs = kTimeoutMs});
        if (row.launches)
            expectLaunched(result, app);
        else
            expectOnlyMessage(result, kNoMainClass);
    }
}

TEST(HostileSettings, GarbageFileReadsAsNoSettingsAndGarbageLinesAreSkipped) {
    // Lines of high bytes and control characters between the real ones: no "[" to open a
    // section, no "=" to make a pair, no line break or NUL to end the line early.
    std::string garbage = randomBytes(64 * 1024, 15);
    for (char& byte : garbage)
        if (byte == '[' || byte == '=' || byte == '\r' || byte == '\n' || byte == '\0')
            byte = '\x7f';
    std::string interleaved;
    size_t line = 0;
    for (size_t start = 0, end = 0; start < plainSettings().size(); start = end) {
        end = plainSettings().find("\r\n", start) + 2;
        interleaved += garbage.substr(line++ * 2000, 2000) + "\r\n";
        interleaved += plainSettings().substr(start, end - start);
    }
    // The first bytes are not a byte-order mark, so every row is read as ANSI text.
    std::string random = randomBytes(64 * 1024, 7);
    random[0] = 'x';
    const SettingsFileRow rows[] = {
        {"random bytes", random, false},
        {"zero bytes", std::string(4096, '\0'), false},
        {"garbage lines around the settings", interleaved, true},
    };
    launchEachSettingsFile(rows);
}

TEST(HostileSettings, Utf16IsReadWithItsByteOrderMarkAndIsNoSettingsWithout) {
    const std::wstring text = L"[Java Runtime Environment]\r\nMain Class=com.example.App\r\n"
                              L"[Class Path]\r\nClass Path=\\lib\\*.jar\r\n";
    const std::string utf16(reinterpret_cast<const char*>(text.data()),
                            text.size() * sizeof(wchar_t));
    const SettingsFileRow rows[] = {
        {"with a byte-order mark", "\xff\xfe" + utf16, true},
        // A stray last byte, as a truncated copy leaves it, costs nothing before it.
        {"with a byte-order mark and an odd length", "\xff\xfe" + utf16 + "x", true},
        // Without the mark the profile functions take the bytes for ANSI text, in which every
        // second character is a NUL: nothing is found, and the launch says so.
        {"without a byte-order mark", utf16, false},
    };
    launchEachSettingsFile(rows);
}

TEST(HostileSettings, ValuesOfAMegabyteAreReadWholeOrPassedOver) {
    const std::wstring megabyte(1 << 20, L'x');
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    const std::wstring classPathOption = L"-Djava.class.path=" + app.app.file(JavaApp::kJar) + L";";
    struct Row {
        const char* name;
        AppSettings settings;
        std::function<void(const Record&)> check;
    };
    const Row rows[] = {
        // Read whole and handed on whole.
        {"VM parameter",
         {.vmParameters = L"-Dbig=" + megabyte},
         [&](const Record& record) {
             const std::vector<std::wstring> options = record.optionTexts();
             ASSERT_EQ(options.size(), 4u);
             EXPECT_TRUE(options[1] == L"-Dbig=" + megabyte);
         }},
        {"Cmd argument",
         {.applicationLines = L"Cmd=" + megabyte + L"\r\n"},
         [&](const Record& record) {
             const auto mains = record.callsOf(L"main");
             ASSERT_EQ(mains.size(), 1u);
             EXPECT_TRUE(mains.front()->arguments == std::vector<std::wstring>{megabyte});
         }},
        {"library path",
         {.runtimeLines = L"Library Path=C:\\" + megabyte + L"\r\n"},
         [&](const Record& record) {
             const std::wstring start = L"-Djava.library.path=C:\\" + megabyte + L";";
             ASSERT_FALSE(record.optionTexts().empty());
             EXPECT_EQ(record.optionTexts().front().compare(0, start.size(), start), 0);
         }},
        // No file of such a name can exist: passed over, and the launch goes on.
        {"runtime folder", {.runtimeLines = L"JRE Path=C:\\" + megabyte + L"\r\n"}, nullptr},
        {"class path entry",
         {.classPath = L"\\" + megabyte + L";\\lib\\*.jar"},
         [&](const Record& record) {
             ASSERT_FALSE(record.optionTexts().empty());
             EXPECT_EQ(narrow(record.optionTexts().front()), narrow(classPathOption));
         }},
        {"splash image", {.displayLines = L"Splash Screen=C:\\" + megabyte + L".bmp\r\n"}, nullptr},
        // More than an environment variable holds: PATH may not change, the launch goes on.
        {"system path", {.runtimeLines = L"System Path=C:\\" + megabyte + L"\r\n"}, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        clearRecord(app.runtimeHome);
        app.writeSettings(row.settings);
        expectLaunched(app.launch({.timeoutMs = kTimeoutMs}), app);
        if (row.check)
            row.check(app.record());
    }
}

TEST(HostileSettings, MainClassOfAMegabyteIsReportedWhole) {
    const std::wstring name = L"com.example." + std::wstring(1 << 20, L'x');
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    app.writeSettings({.mainClass = name});
    std::wstring slashName = name;
    std::replace(slashName.begin(), slashName.end(), L'.', L'/');
    const LaunchResult result = app.launch({.timeoutMs = kTimeoutMs});
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, kFailureExitCode);
    ASSERT_EQ(result.messageBoxes.size(), 1u);
    EXPECT_TRUE(result.messageBoxes.front().text ==
                L"Could not find the main class " + slashName + L".\n");
}

TEST(HostileSettings, TenThousandSectionsBeforeAndAmongTheSettings) {
    // Sections of every kind the readers look at: plain names, "+" extensions of names that
    // are not read, and repeats of the names that are, all empty of the keys that matter.
    std::wstring text;
    for (int i = 0; i < 10000; ++i) {
        const std::wstring n = std::to_wstring(i);
        text += L"[Section " + n + L"]\r\nKey " + n + L"=Value " + n + L"\r\n";
        text += L"[Section " + n + L"+]\r\nKey " + n + L"=+\r\n";
    }
    text += L"[Java Runtime Environment]\r\nMain Class=com.example.App\r\n"
            L"Virtual Machine Parameters=-Dlast=yes\r\n"
            L"[Class Path]\r\nClass Path=\\lib\\*.jar\r\n";
    for (int i = 0; i < 100; ++i)
        text += L"[Application]\r\nOther " + std::to_wstring(i) + L"=1\r\n";
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    app.app.writeSettings(text);
    expectLaunched(app.launch({.timeoutMs = kTimeoutMs}), app);
    const std::vector<std::wstring> options = app.record().optionTexts();
    EXPECT_NE(std::find(options.begin(), options.end(), L"-Dlast=yes"), options.end());
}

TEST(HostileSettings, TenThousandClassPathEntriesReachTheVmInOrder) {
    // A hundred jars, each named a hundred times: every entry is looked up on its own, and
    // the VM receives every element in the order written.
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    for (int jar = 0; jar < 100; ++jar)
        writeBytesFile(app.app.besideExe(L"lib\\j" + std::to_wstring(jar) + L".jar"), "PK");
    std::wstring setting;
    std::wstring expected = L"-Djava.class.path=";
    for (int i = 0; i < 10000; ++i) {
        const std::wstring jar = L"lib\\j" + std::to_wstring(i * 37 % 100) + L".jar";
        setting += L"\\" + jar + L";";
        expected += app.app.besideExe(jar) + L";";
    }
    setting += L"\\lib\\app.jar";
    expected += app.app.file(JavaApp::kJar) + L";";
    app.writeSettings({.classPath = setting});
    expectLaunched(app.launch({.timeoutMs = kTimeoutMs}), app);
    const std::vector<std::wstring> options = app.record().optionTexts();
    ASSERT_FALSE(options.empty());
    EXPECT_TRUE(options.front() == expected)
        << options.front().size() << " characters, expected " << expected.size();
}

TEST(HostileSettings, CommandLineAtTheSystemLimitReachesMainWhole) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    app.writeSettings();
    // CreateProcess takes 32767 characters with the terminating NUL; the harness puts the
    // quoted exe path and a blank in front of the arguments.
    const size_t room = 32766 - (app.app.exePath().size() + 3);
    struct Row {
        const char* name;
        std::wstring arguments;
        std::vector<std::wstring> expected;
    };
    std::vector<Row> rows;
    rows.push_back({"one argument", std::wstring(room, L'a'), {std::wstring(room, L'a')}});
    Row many{"thousands of arguments", {}, {}};
    while (many.arguments.size() + 9 <= room) {
        const std::wstring argument =
            L"\"a " + std::to_wstring(1000 + many.expected.size()) + L"\"";
        many.arguments += (many.arguments.empty() ? L"" : L" ") + argument;
        many.expected.push_back(argument.substr(1, argument.size() - 2));
    }
    rows.push_back(many);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_LE(row.arguments.size(), room);
        clearRecord(app.runtimeHome);
        ASSERT_TRUE(app.writeScript(JavaApp::script()));
        expectLaunched(app.launch({.arguments = row.arguments, .timeoutMs = kTimeoutMs}), app);
        const Record record = app.record();
        const auto mains = record.callsOf(L"main");
        ASSERT_EQ(mains.size(), 1u);
        EXPECT_TRUE(mains.front()->arguments == row.expected)
            << mains.front()->arguments.size() << " arguments";
    }
}

} // namespace
