// What the VM is given when the launcher creates it: the options in order, percentage and
// stack sizes, the environment and the current directory.
#include "LaunchHarness.h"
#include "TestRuntime.h"

#include <gtest/gtest.h>

namespace {

using testjvm::Record;

// An application whose main class prints one line, with the test runtime beside it as its
// private runtime (jre64) or wherever "JRE Path" points.
class VmApp {
  public:
    explicit VmApp(const std::wstring& runtimeFolder = L"jre64",
                   jint defaultStackSize = testjvm::Script{}.defaultStackSize)
        : home_(testjvm::layOutRuntime(app_.file(runtimeFolder))) {
        testjvm::Script script;
        script.defaultStackSize = defaultStackSize;
        script.classes = {testjvm::JavaClass(L"app/Main")};
        script.mainActions = {testjvm::Action::printOut(L"main ran")};
        scriptWritten_ = !home_.empty() && testjvm::writeScript(home_, script);
        writeBytesFile(app_.file(L"app.jar"), "");
    }

    // Settings text after the main class and class path, which every launch here needs.
    void writeSettings(const std::wstring& runtimeSettings,
                       const std::wstring& applicationSettings = L"") const {
        app_.writeSettings(L"[Java Runtime Environment]\r\nMain Class=app.Main\r\n" +
                           runtimeSettings + L"[Class Path]\r\nClass Path=\\app.jar\r\n" +
                           L"[Application]\r\n" + applicationSettings);
    }

    // Launches, expects main to have run, and returns what the VM recorded.
    Record launchAndRecord(const LaunchOptions& options = {}) const {
        const LaunchResult result = app_.launch(options);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
        for (const std::wstring& text : result.messageTexts())
            ADD_FAILURE() << "message box: " << narrow(text);
        Record record = testjvm::readRecord(home_).value_or(Record{});
        EXPECT_EQ(record.createResult, JNI_OK);
        EXPECT_EQ(record.callsOf(L"main").size(), 1u);
        EXPECT_TRUE(record.violations.empty());
        return record;
    }

    const AppFolder& app() const { return app_; }
    // The runtime home without its trailing backslash, as the launcher derives it.
    std::wstring home() const { return home_.substr(0, home_.size() - 1); }
    bool ready() const { return scriptWritten_; }

  private:
    AppFolder app_;
    std::wstring home_;
    bool scriptWritten_ = false;
};

constexpr wchar_t kStartPath[] = L"C:\\windows\\system32;C:\\windows";

TEST(VmOptions, VmReceivesLibraryPathClassPathParametersThenHooksInOrder) {
    VmApp vm;
    ASSERT_TRUE(vm.ready());
    vm.writeSettings(L"Library Path=C:\\Native;%QOVA_TEST_NATIVE%\r\n"
                     L"System Path=C:\\Tools\r\n"
                     L"Virtual Machine Parameters=  -Dname=\"a b\" -Dhome=%QOVA_TEST_HOME% "
                     L"-Xmx64m  \r\n");
    const Record record = vm.launchAndRecord({.environment = {
                                                  {L"Path", kStartPath},
                                                  {L"QOVA_TEST_NATIVE", L"D:\\More"},
                                                  {L"QOVA_TEST_HOME", L"D:\\Home"},
                                              }});

    const std::wstring appFolder = vm.app().folder();
    const std::vector<std::wstring> expected = {
        L"-Djava.library.path=C:\\Native;D:\\More;" + appFolder + L"\\;.;" + kStartPath + L";" +
            vm.home() + L"\\lib",
        L"-Djava.class.path=" + appFolder + L"\\app.jar;",
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

    const std::wstring jvmLibrary = vm.home() + L"\\bin\\server\\jvm.dll";
    EXPECT_EQ(record.environmentVariable(L"QOVA_JVM_PATH"), jvmLibrary);
    EXPECT_EQ(record.environmentVariable(L"QOVA_JVM_HOME"), vm.home());
    EXPECT_EQ(record.environmentVariable(L"Path"),
              L"C:\\Tools;" + std::wstring(kStartPath) + L";" + vm.home() + L"\\bin");
}

TEST(VmOptions, WithoutLibraryPathTheClassPathComesFirst) {
    VmApp vm;
    ASSERT_TRUE(vm.ready());
    vm.writeSettings(L"");
    const Record record = vm.launchAndRecord({.environment = {{L"Path", kStartPath}}});
    const std::vector<std::wstring> options = record.optionTexts();
    ASSERT_FALSE(options.empty());
    EXPECT_EQ(options.front(), L"-Djava.class.path=" + vm.app().folder() + L"\\app.jar;");
    EXPECT_EQ(record.environmentVariable(L"Path"),
              std::wstring(kStartPath) + L";" + vm.home() + L"\\bin");
}

TEST(VmOptions, PercentageHeapIsHalfOfPhysicalMemoryInKibibytes) {
    VmApp vm;
    ASSERT_TRUE(vm.ready());
    vm.writeSettings(L"Virtual Machine Parameters=-Xmx50P\r\n");
    const Record record = vm.launchAndRecord();

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
    // Without "-Xss" the thread would get the VM's default, 8 MiB here.
    constexpr jint kDefault = 8 << 20;
    const struct {
        const wchar_t* option;
        std::uint64_t atLeast;
        std::uint64_t atMost; // Wine reserves no thread stack below 1 MiB
    } cases[] = {
        {L"-Xss512k", 512 << 10, 1 << 20},
        {L"-Xss3m", 3 << 20, 3 << 20},
        {L"-Xss2097152", 2 << 20, 2 << 20},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(narrow(test.option));
        VmApp vm(L"jre64", kDefault);
        ASSERT_TRUE(vm.ready());
        vm.writeSettings(L"Virtual Machine Parameters=" + std::wstring(test.option) + L"\r\n");
        const Record record = vm.launchAndRecord();
        EXPECT_GE(record.createStackSize, test.atLeast);
        EXPECT_LE(record.createStackSize, test.atMost);
    }
    VmApp vm(L"jre64", kDefault);
    ASSERT_TRUE(vm.ready());
    vm.writeSettings(L"");
    EXPECT_EQ(vm.launchAndRecord().createStackSize, std::uint64_t{kDefault});
}

TEST(VmOptions, OverrideWorkingDirMakesRelativeJrePathResolveBesideTheExecutable) {
    VmApp vm(L"runtime");
    ASSERT_TRUE(vm.ready());
    vm.writeSettings(L"JRE Path=runtime\r\n", L"Override WorkingDir=yes\r\n");
    TempFolder elsewhere;
    const Record record = vm.launchAndRecord({.currentDirectory = elsewhere.path()});
    EXPECT_EQ(record.currentDirectory, vm.app().folder());
}

} // namespace
