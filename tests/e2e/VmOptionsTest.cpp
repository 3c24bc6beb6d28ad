// What the VM is given when the launcher creates it: the options in order, percentage and
// stack sizes, the environment and the current directory.
#include "JavaApp.h"

#include <gtest/gtest.h>

namespace {

using testjvm::Record;

// Launches, expects main to have run, and returns what the runtime in `runtimeHome` recorded.
Record launchAndRecord(const JavaApp& app, const LaunchOptions& options = {},
                       const std::wstring& runtimeHome = {}) {
    const LaunchResult result = app.launch(options);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    for (const std::wstring& text : result.messageTexts())
        ADD_FAILURE() << "message box: " << narrow(text);
    Record record =
        testjvm::readRecord(runtimeHome.empty() ? app.runtimeHome : runtimeHome).value_or(Record{});
    EXPECT_EQ(record.createResult, JNI_OK);
    EXPECT_EQ(record.callsOf(L"main").size(), 1u);
    EXPECT_TRUE(record.violations.empty());
    return record;
}

// The runtime home without its trailing backslash, as the launcher derives it.
std::wstring homeOf(const JavaApp& app) {
    return app.runtimeHome.substr(0, app.runtimeHome.size() - 1);
}

std::wstring classPathOption(const JavaApp& app) {
    return L"-Djava.class.path=" + app.app.file(JavaApp::kJar) + L";";
}

constexpr wchar_t kStartPath[] = L"C:\\windows\\system32;C:\\windows";

TEST(VmOptions, VmReceivesLibraryPathClassPathParametersThenHooksInOrder) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    app.writeSettings({.vmParameters = L"  -Dname=\"a b\" -Dhome=%QOVA_TEST_HOME% -Xmx64m  ",
                       .runtimeLines = L"Library Path=C:\\Native;%QOVA_TEST_NATIVE%\r\n"
                                       L"System Path=C:\\Tools\r\n"});
    const Record record = launchAndRecord(app, {.environment = {
                                                    {L"Path", kStartPath},
                                                    {L"QOVA_TEST_NATIVE", L"D:\\More"},
                                                    {L"QOVA_TEST_HOME", L"D:\\Home"},
                                                }});

    const std::vector<std::wstring> expected = {
        L"-Djava.library.path=C:\\Native;D:\\More;" + app.app.folder() + L"\\;.;" + kStartPath +
            L";" + homeOf(app) + L"\\lib",
        classPathOption(app),
        L"-Dname=a b",
        L"-Dhome=D:\\Home",
        L"-Xmx64m",
        L"abort",
        L"exit",
    };
    EXPECT_EQ(record.optionTexts(), expected);
    ASSERT_EQ(record.options.size(), expected.size());
    for (size_t i = 0; i < record.options.size(); ++i)
        EXPECT_EQ(record.options[i].hasExtraInfo, i >= 5) << narrow(record.options[i].text);

    EXPECT_EQ(record.environmentVariable(L"QOVA_JVM_PATH"),
              homeOf(app) + L"\\bin\\server\\jvm.dll");
    EXPECT_EQ(record.environmentVariable(L"QOVA_JVM_HOME"), homeOf(app));
    EXPECT_EQ(record.environmentVariable(L"Path"),
              L"C:\\Tools;" + std::wstring(kStartPath) + L";" + homeOf(app) + L"\\bin");
}

TEST(VmOptions, WithoutLibraryPathTheClassPathComesFirst) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    app.writeSettings();
    const Record record = launchAndRecord(app, {.environment = {{L"Path", kStartPath}}});
    const std::vector<std::wstring> options = record.optionTexts();
    ASSERT_FALSE(options.empty());
    EXPECT_EQ(options.front(), classPathOption(app));
    EXPECT_EQ(record.environmentVariable(L"Path"),
              std::wstring(kStartPath) + L";" + homeOf(app) + L"\\bin");
}

TEST(VmOptions, PercentageHeapIsHalfOfPhysicalMemoryInKibibytes) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    app.writeSettings({.vmParameters = L"-Xmx50P"});
    const Record record = launchAndRecord(app);

    MEMORYSTATUS memory{};
    memory.dwLength = sizeof(memory);
    GlobalMemoryStatus(&memory);
    const std::uint64_t halfKib = (std::uint64_t{memory.dwTotalPhys} >> 10) / 2;
    const std::vector<std::wstring> options = record.optionTexts();
    ASSERT_GE(options.size(), 2u);
    EXPECT_EQ(options[1], L"-Xmx" + std::to_wstring(halfKib) + L"K");
}

TEST(VmOptions, StackSizeOptionSizesTheJavaMainThread) {
    // The VM is created on the Java main thread, so the stack it records is that thread's.
    // Without "-Xss" the thread gets the VM's default, 8 MiB here.
    testjvm::Script script = JavaApp::script();
    script.defaultStackSize = 8 << 20;
    const struct {
        const wchar_t* parameters;
        std::uint64_t atLeast;
        std::uint64_t atMost; // Wine reserves no thread stack below 1 MiB
    } cases[] = {
        {L"-Xss512k", 512 << 10, 1 << 20},
        {L"-Xss3m", 3 << 20, 3 << 20},
        {L"-Xss2097152", 2 << 20, 2 << 20},
        {L"", 8 << 20, 8 << 20},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(narrow(test.parameters));
        JavaApp app;
        ASSERT_TRUE(app.writeScript(script));
        app.writeSettings({.vmParameters = test.parameters});
        const Record record = launchAndRecord(app);
        EXPECT_GE(record.createStackSize, test.atLeast);
        EXPECT_LE(record.createStackSize, test.atMost);
    }
}

TEST(VmOptions, OverrideWorkingDirMakesRelativeJrePathResolveBesideTheExecutable) {
    JavaApp app;
    const std::wstring configured = testjvm::layOutRuntime(app.app.file(L"runtime"));
    ASSERT_FALSE(configured.empty());
    ASSERT_TRUE(testjvm::writeScript(configured, JavaApp::script()));
    app.writeSettings({.runtimeLines = L"JRE Path=runtime\r\n",
                       .applicationLines = L"Override WorkingDir=yes\r\n"});
    TempFolder elsewhere;
    const Record record = launchAndRecord(app, {.currentDirectory = elsewhere.path()}, configured);
    EXPECT_EQ(record.currentDirectory, app.app.folder());
}

} // namespace
