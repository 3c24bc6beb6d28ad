// The environment the VM inherits: runtime location, library path option, PATH, the current
// directory, and the memory figures for percentage sizes.
#include "TestFiles.h"
#include "javaopts/EnvironmentSetup.h"
#include "javaopts/MemoryStatusReader.h"
#include "launcher/Launcher.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedVariable {
  public:
    ScopedVariable(const wchar_t* name, const std::optional<std::wstring>& value)
        : name_(name), old_(variable(name)) {
        SetEnvironmentVariableW(name, value ? value->c_str() : nullptr);
    }
    ~ScopedVariable() { SetEnvironmentVariableW(name_, old_ ? old_->c_str() : nullptr); }

    static std::optional<std::wstring> variable(const wchar_t* name) {
        std::wstring value;
        if (!lookUpEnvironmentVariable(name, value))
            return std::nullopt;
        return value;
    }

  private:
    const wchar_t* name_;
    std::optional<std::wstring> old_;
};

// Puts the current directory back after a test that changes it.
class ScopedCurrentDirectory {
  public:
    ScopedCurrentDirectory() {
        old_.resize(GetCurrentDirectoryW(0, nullptr));
        old_.resize(GetCurrentDirectoryW(static_cast<DWORD>(old_.size()), old_.data()));
    }
    ~ScopedCurrentDirectory() { SetCurrentDirectoryW(old_.c_str()); }
    const std::wstring& old() const { return old_; }

  private:
    std::wstring old_;
};

std::wstring currentDirectory() {
    return ScopedCurrentDirectory().old();
}

constexpr wchar_t kJvm[] = L"C:\\Java\\jre\\bin\\server\\jvm.dll";
constexpr wchar_t kStartPath[] = L"C:\\Windows\\system32;C:\\Windows";

struct EnvironmentCase {
    const wchar_t* libraryPath;
    const wchar_t* systemPath;
    const wchar_t* expectedOption; // %EXE% stands for the test program's folder; null: none
    const wchar_t* expectedPath;
};

std::wstring withExecutableFolder(std::wstring text) {
    const std::wstring marker = L"%EXE%";
    if (const size_t at = text.find(marker); at != std::wstring::npos)
        text.replace(at, marker.size(), testProgramFolder() + L"\\");
    return text;
}

TEST(Environment, PublishesRuntimeComposesLibraryPathAndPath) {
    const EnvironmentCase cases[] = {
        {L"", L"", nullptr, L"C:\\Windows\\system32;C:\\Windows;C:\\Java\\jre\\bin"},
        {L"", L"C:\\Tools", nullptr,
         L"C:\\Tools;C:\\Windows\\system32;C:\\Windows;C:\\Java\\jre\\bin"},
        {L"", L"C:\\Tools;", nullptr,
         L"C:\\Tools;C:\\Windows\\system32;C:\\Windows;C:\\Java\\jre\\bin"},
        // The library path takes PATH as it was at start, before the change below it.
        {L"C:\\Native", L"C:\\Tools",
         L"-Djava.library.path=C:\\Native;%EXE%;.;C:\\Windows\\system32;C:\\Windows;"
         L"C:\\Java\\jre\\lib",
         L"C:\\Tools;C:\\Windows\\system32;C:\\Windows;C:\\Java\\jre\\bin"},
        {L"C:\\Native;", L"",
         L"-Djava.library.path=C:\\Native;%EXE%;.;C:\\Windows\\system32;"
         L"C:\\Windows;C:\\Java\\jre\\lib",
         L"C:\\Windows\\system32;C:\\Windows;C:\\Java\\jre\\bin"},
        {L"%NATIVE_HOME%\\Native", L"%TOOLS_HOME%\\bin",
         L"-Djava.library.path=D:\\Home\\Native;%EXE%;.;C:\\Windows\\system32;C:\\Windows;"
         L"C:\\Java\\jre\\lib",
         L"E:\\Tools\\bin;C:\\Windows\\system32;C:\\Windows;C:\\Java\\jre\\bin"},
    };
    for (const EnvironmentCase& test : cases) {
        SCOPED_TRACE(narrow(std::wstring(test.libraryPath) + L" | " + test.systemPath));
        ScopedVariable path(L"Path", kStartPath);
        ScopedVariable nativeHome(L"NATIVE_HOME", L"D:\\Home");
        ScopedVariable toolsHome(L"TOOLS_HOME", L"E:\\Tools");
        ScopedVariable jvmPath(L"QOVA_JVM_PATH", std::nullopt);
        ScopedVariable jvmHome(L"QOVA_JVM_HOME", std::nullopt);
        Launcher launcher;
        launcher.jvmLibraryPath = kJvm;
        launcher.libraryPath = test.libraryPath;
        launcher.systemPath = test.systemPath;

        launcher.prepareEnvironment();

        EXPECT_EQ(ScopedVariable::variable(L"QOVA_JVM_PATH"), kJvm);
        EXPECT_EQ(ScopedVariable::variable(L"QOVA_JVM_HOME"), L"C:\\Java\\jre");
        EXPECT_EQ(ScopedVariable::variable(L"PATH"), test.expectedPath);
        if (test.expectedOption) {
            ASSERT_EQ(launcher.vmOptions.size(), 1u);
            EXPECT_EQ(launcher.vmOptions[0],
                      vmOptionText(withExecutableFolder(test.expectedOption)));
        } else {
            EXPECT_TRUE(launcher.vmOptions.empty());
        }
    }
}

TEST(Environment, ReferencesToUnknownVariablesStayAsWritten) {
    ScopedVariable known(L"QOVA_TEST_KNOWN", L"x");
    ScopedVariable empty(L"QOVA_TEST_EMPTY", L"");
    ScopedVariable unknown(L"QOVA_TEST_UNKNOWN", std::nullopt);
    std::wstring text =
        L"%QOVA_TEST_KNOWN%|%qova_test_known%|%QOVA_TEST_EMPTY%|%QOVA_TEST_UNKNOWN%";
    expandFromProcessEnvironment(text);
    EXPECT_EQ(text, L"x|x||%QOVA_TEST_UNKNOWN%");
}

TEST(WorkingDirectory, OverrideMakesTheExecutableFolderCurrent) {
    ScopedCurrentDirectory restore;
    TempFolder elsewhere;
    ASSERT_TRUE(SetCurrentDirectoryW(elsewhere.path().c_str()));
    Launcher launcher;

    launcher.overrideWorkingDir = false;
    launcher.setWorkingDirectoryToExecutableFolder();
    EXPECT_EQ(currentDirectory(), elsewhere.path());

    launcher.overrideWorkingDir = true;
    launcher.setWorkingDirectoryToExecutableFolder();
    EXPECT_EQ(currentDirectory(), testProgramFolder());
}

TEST(MemoryStatusReader, ReportsThisMachinesFigures) {
    const MemoryStatus status = readMemoryStatus();
    MEMORYSTATUSEX expected{};
    expected.dwLength = sizeof(expected);
    ASSERT_TRUE(GlobalMemoryStatusEx(&expected));
    EXPECT_EQ(status.totalPhys, expected.ullTotalPhys);
    // A 64-bit process has terabytes of address space: far more than 4 GiB would allow.
    EXPECT_GT(status.availVirtual, std::uint64_t{1} << 40);
}

} // namespace
