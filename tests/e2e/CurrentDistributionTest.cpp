// Machines whose only Java is one of today's distributions, registered as its installer does
// and laid out in the current shape (no "jre\" folder): the launcher loads it and main runs
// there, where it used to find no runtime at all. One known only to the 32-bit view is left to
// the paired launcher (tested with the hand-over).
#include "JavaApp.h"
#include "ScopedRegistryKey.h"
#include "TestedBuild.h"

#include <gtest/gtest.h>

using namespace testjvm;

namespace {

// Nothing beside the exe: jre64 exists but lacks bin\java.dll.
const RuntimeLayout notAHome{.javaLibrary = false};

std::optional<Record> recordOf(const std::wstring& home) {
    return readRecord(home);
}

TEST(CurrentDistribution, OnlyRuntimeOnTheMachineIsLoaded) {
    struct Row {
        HKEY hive;
        const wchar_t* key;
        const wchar_t* value;
        const wchar_t* runtimeLines;
        // With the IBM provider accepted the main thread never ends after main: the application
        // ends the process itself.
        bool exitsItself = false;
    };
    const std::vector<Row> rows{
        {HKEY_LOCAL_MACHINE, L"Software\\Eclipse Adoptium\\JDK\\8170.0.8.101\\hotspot\\MSI",
         L"Path", L"Minimum Version=8170\r\nMaximum Version=8170.9\r\n"},
        {HKEY_LOCAL_MACHINE, L"Software\\JavaSoft\\JDK\\8171.0.2", L"JavaHome",
         L"Minimum Version=8171\r\nMaximum Version=8171.9\r\n"},
        {HKEY_CURRENT_USER, L"Software\\Azul Systems\\Zulu\\zulu-8172", L"InstallationPath",
         L"Minimum Version=8172\r\nMaximum Version=8172.9\r\n"},
        {HKEY_LOCAL_MACHINE, L"Software\\Semeru\\JRE\\8173.0.7.7\\openj9\\MSI", L"Path",
         L"Minimum Version=8173\r\nMaximum Version=8173.9\r\nVM Provider=ibm\r\n", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.key));
        JavaApp app(notAHome);
        const std::wstring home = layOutRuntime(app.app.file(L"installed\\jdk"));
        ASSERT_FALSE(home.empty());
        ASSERT_TRUE(writeScript(home, row.exitsItself ? JavaApp::script({Action::exit(0)})
                                                      : JavaApp::script()));
        const ScopedRegistryKey registered(row.hive, row.key, tested::kOwnRegistryViewIs32Bit,
                                           row.value,
                                           JavaHomeValue{app.app.file(L"installed\\jdk")});
        ASSERT_TRUE(registered.created());
        app.writeSettings({.runtimeLines = row.runtimeLines});

        const LaunchResult result = app.launch();
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
        for (const std::wstring& text : result.messageTexts())
            ADD_FAILURE() << narrow(text);
        const auto record = recordOf(home);
        ASSERT_TRUE(record.has_value());
        EXPECT_EQ(record->callsOf(L"main").size(), 1u);
        EXPECT_EQ(record->environmentVariable(L"QOVA_JVM_HOME"), home.substr(0, home.size() - 1));
    }
}

} // namespace
