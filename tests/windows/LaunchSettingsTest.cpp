// The launch settings read from real settings files (and a per-user file) into the launcher.
#include "launcher/Launcher.h"
#include "MessageBoxes.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

class LaunchSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t buffer[32768];
        const DWORD length = GetEnvironmentVariableW(L"APPDATA", buffer, 32768);
        if (length)
            oldAppData_ = std::wstring(buffer, length);
        SetEnvironmentVariableW(L"APPDATA", appData_.path().c_str());
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"APPDATA", oldAppData_ ? oldAppData_->c_str() : nullptr);
    }

    bool read(const std::wstring& settings) {
        const std::wstring path = folder_.file(L"app.ini");
        writeUtf16File(path, settings);
        return launcher_.readLaunchSettingsFrom(path);
    }

    // The launcher's own per-user file: named after this test program.
    std::wstring userFile(const std::wstring& product, const std::wstring& code) {
        createFolders(appData_.file(product + L"\\" + code));
        return appData_.file(product + L"\\" + code + L"\\windows_tests.ini");
    }

    TempFolder folder_;
    TempFolder appData_;
    std::optional<std::wstring> oldAppData_;
    Launcher launcher_;
};

constexpr const wchar_t* mainClassOnly = L"[Java Runtime Environment]\r\nMain Class=a.B\r\n";

TEST_F(LaunchSettingsTest, DefaultsWithOnlyAMainClass) {
    ASSERT_TRUE(read(mainClassOnly));
    EXPECT_EQ(launcher_.mainClass, L"a/B");
    EXPECT_EQ(launcher_.jvmType, 0);
    EXPECT_TRUE(launcher_.jdkWanted && launcher_.jreWanted && launcher_.otherSourceAllowed);
    EXPECT_TRUE(launcher_.sunAccepted && launcher_.sunFavored);
    EXPECT_FALSE(launcher_.ibmAccepted || launcher_.jrockitAccepted);
    EXPECT_TRUE(launcher_.preferredVersions.empty());
    EXPECT_FALSE(launcher_.failureCheck || launcher_.overrideWorkingDir || launcher_.isService);
    EXPECT_EQ(launcher_.jrePath, L"");
}

TEST_F(LaunchSettingsTest, EveryKeyLandsInItsField) {
    ASSERT_TRUE(read(L"[Product Information]\r\nProduct Code={C}\r\nUpgrade Code={U}\r\nProduct Name=Viewer\r\n"
                     L"[Java Runtime Environment]\r\nMinimum Version=1.6.0_10\r\nMaximum Version=1.8\r\n"
                     L"Preferred versions=1.7;;1.6\r\nJRE Path=C:\\jre\r\nJVM Type=favor_server\r\n"
                     L"JVM Source=only_JDK\r\nVM Provider=favor_ibm\r\nMain Class=com.example.app.Main\r\n"
                     L"System Path=C:\\bin\r\nLibrary Path=\\native\r\n"
                     L"[Application]\r\nFailure Check=YES\r\nOverride WorkingDir=yes\r\n"
                     L"Pair Product=C:\\x86\\app.exe\r\nPair Return Code=Yes\r\nSingle Instance=yes\r\n"));
    EXPECT_EQ(launcher_.productCode, L"{C}");
    EXPECT_EQ(launcher_.upgradeCode, L"{U}");
    EXPECT_EQ(launcher_.productName, L"Viewer");
    EXPECT_EQ(launcher_.minVersion.toString(), JavaVersion::fromText(L"1.6.0_10", 0).toString());
    EXPECT_EQ(launcher_.maxVersion.toString(), JavaVersion::fromText(L"1.8", 65535).toString());
    EXPECT_EQ(launcher_.preferredVersions, (std::vector<std::wstring>{L"1.7", L"", L"1.6"}));
    EXPECT_EQ(launcher_.jrePath, L"C:\\jre");
    EXPECT_EQ(launcher_.jvmType, 2);
    EXPECT_TRUE(launcher_.jdkWanted);
    EXPECT_FALSE(launcher_.jreWanted || launcher_.otherSourceAllowed);
    EXPECT_TRUE(launcher_.ibmFavored && launcher_.ibmAccepted && launcher_.sunAccepted);
    EXPECT_FALSE(launcher_.sunFavored);
    EXPECT_EQ(launcher_.mainClass, L"com/example/app/Main");
    EXPECT_EQ(launcher_.systemPath, L"C:\\bin");
    EXPECT_EQ(launcher_.libraryPath, L"\\native");
    EXPECT_TRUE(launcher_.failureCheck && launcher_.overrideWorkingDir && launcher_.pairReturnCode);
    EXPECT_EQ(launcher_.pairProduct, L"C:\\x86\\app.exe");
    // Single-instance operation is the application-settings reader's business.
    EXPECT_FALSE(launcher_.singleInstance);
}

TEST_F(LaunchSettingsTest, WordValuesCompareExactly) {
    ASSERT_TRUE(read(L"[Java Runtime Environment]\r\nMain Class=a.B\r\nJVM Type=Server\r\n"
                     L"JVM Source=favor_jre\r\nVM Provider=IBM\r\nMinimum Version=ANY\r\nMaximum Version=any\r\n"
                     L"[Application]\r\nApplication Type=Service\r\n"));
    EXPECT_EQ(launcher_.jvmType, 0);
    EXPECT_FALSE(launcher_.jdkWanted || launcher_.jreWanted || launcher_.otherSourceAllowed);
    EXPECT_TRUE(launcher_.ibmAccepted && launcher_.ibmFavored);
    EXPECT_FALSE(launcher_.sunAccepted || launcher_.sunFavored);
    EXPECT_FALSE(launcher_.isService);
    // "ANY" is a version text (no digits: all zero), "any" the unbounded maximum.
    EXPECT_EQ(launcher_.minVersion.toString(), L"0.0.0.0");
    EXPECT_TRUE(launcher_.maxVersion.isUnbounded());
    EXPECT_EQ(launcher_.maxVersion.components[0], 65535);
}

TEST_F(LaunchSettingsTest, EmptyMainClassStopsAfterTheRuntimeKeys) {
    MessageBoxWatcher messages;
    EXPECT_FALSE(read(L"[Java Runtime Environment]\r\nJVM Type=server\r\n"
                      L"[Application]\r\nFailure Check=Yes\r\nPair Product=p.exe\r\n"));
    EXPECT_EQ(messages.texts(), std::vector<std::wstring>{L"Main class was not specified in INI file."});
    EXPECT_EQ(launcher_.jvmType, 1);
    EXPECT_FALSE(launcher_.failureCheck);
    EXPECT_EQ(launcher_.pairProduct, L"");
}

TEST_F(LaunchSettingsTest, MainClassOnlyInPlusSectionKeepsItsLeadingSpace) {
    ASSERT_TRUE(read(L"[Java Runtime Environment+]\r\nMain Class=com.example.Main\r\n"));
    EXPECT_EQ(launcher_.mainClass, L" com/example/Main");
}

TEST_F(LaunchSettingsTest, PerUserFileWithoutJrePathHidesTheSettingsFileValue) {
    writeUtf16File(userFile(L"Viewer", L"{C}"), L"[Other]\r\nx=1\r\n");
    ASSERT_TRUE(read(L"[Product Information]\r\nProduct Code={C}\r\nProduct Name=Viewer\r\n"
                     L"[Java Runtime Environment]\r\nMain Class=a.B\r\nJRE Path=C:\\from-ini\r\n"));
    EXPECT_EQ(launcher_.jrePath, L"");
}

TEST_F(LaunchSettingsTest, PerUserJrePathWinsAndServicesIgnoreIt) {
    writeUtf16File(userFile(L"Viewer", L"{C}"), L"[Java Runtime Environment]\r\nJRE Path=C:\\remembered\\\r\n");
    const std::wstring settings = L"[Product Information]\r\nProduct Code={C}\r\nProduct Name=Viewer\r\n"
                                  L"[Java Runtime Environment]\r\nMain Class=a.B\r\nJRE Path=C:\\from-ini\r\n";
    ASSERT_TRUE(read(settings));
    EXPECT_EQ(launcher_.jrePath, L"C:\\remembered\\");

    Launcher service;
    const std::wstring path = folder_.file(L"service.ini");
    writeUtf16File(path, settings + L"[Application]\r\nApplication Type=service\r\n");
    ASSERT_TRUE(service.readLaunchSettingsFrom(path));
    EXPECT_TRUE(service.isService);
    EXPECT_EQ(service.jrePath, L"C:\\from-ini");
}

TEST_F(LaunchSettingsTest, NoPerUserFileFallsBackToTheCombinedValue) {
    ASSERT_TRUE(read(L"[Product Information]\r\nProduct Code={C}\r\nProduct Name=Viewer\r\n"
                     L"[Java Runtime Environment]\r\nMain Class=a.B\r\n[Java Runtime Environment+]\r\n"
                     L"JRE Path=C:\\jre\r\n"));
    EXPECT_EQ(launcher_.jrePath, L" C:\\jre");
}

} // namespace
