// The launcher's own settings file and the per-user settings file.
#include "launcher/Launcher.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const std::optional<std::wstring>& value) : name_(name) {
        wchar_t buffer[32768];
        const DWORD length = GetEnvironmentVariableW(name, buffer, 32768);
        if (length)
            old_ = std::wstring(buffer, length);
        SetEnvironmentVariableW(name, value ? value->c_str() : nullptr);
    }
    ~ScopedVariable() { SetEnvironmentVariableW(name_, old_ ? old_->c_str() : nullptr); }

private:
    const wchar_t* name_;
    std::optional<std::wstring> old_;
};

TEST(SettingsLocation, SettingsFileSitsBesideTheExecutable) {
    Launcher launcher;
    std::wstring path;
    ASSERT_TRUE(launcher.settingsFilePath(path));
    EXPECT_EQ(path, testProgramFolder() + L"\\windows_tests.ini");
}

TEST(SettingsLocation, UserFileUnderAppDataWithFoldersCreatedOnRequest) {
    TempFolder appData;
    ScopedVariable variable(L"APPDATA", appData.path());
    Launcher launcher;
    launcher.productName = L"Viewer: Pro";
    launcher.productCode = L"{0A1B}";

    std::wstring path;
    launcher.userSettingsFilePath(L"C:\\Apps\\viewer.exe", false, path);
    EXPECT_EQ(path, appData.path() + L"\\Viewer Pro\\{0A1B}\\viewer.ini");
    EXPECT_EQ(GetFileAttributesW(appData.file(L"Viewer Pro").c_str()), INVALID_FILE_ATTRIBUTES);

    launcher.userSettingsFilePath(L"C:\\Apps\\viewer.exe", true, path);
    const DWORD attributes = GetFileAttributesW(appData.file(L"Viewer Pro\\{0A1B}").c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);

    launcher.ownUserSettingsFilePath(false, path);
    EXPECT_EQ(path, appData.path() + L"\\Viewer Pro\\{0A1B}\\windows_tests.ini");
}

TEST(SettingsLocation, MissingAppDataStartsAtTheDriveRoot) {
    ScopedVariable variable(L"APPDATA", std::nullopt);
    Launcher launcher;
    launcher.productName = L"P";
    launcher.productCode = L"C";
    std::wstring path;
    launcher.userSettingsFilePath(L"app.exe", false, path);
    EXPECT_EQ(path, L"\\P\\C\\app.ini");
}

TEST(SettingsLocation, LongAppDataIsReadWhole) {
    TempFolder base;
    // Deeper than 260 characters in all; the variable's value alone is over 260.
    std::wstring deep = base.path();
    while (deep.size() < 300)
        deep += L"\\segment-of-a-long-roaming-profile-path";
    ScopedVariable variable(L"APPDATA", deep);
    Launcher launcher;
    launcher.productName = L"P";
    launcher.productCode = L"C";
    std::wstring path;
    launcher.userSettingsFilePath(L"app.exe", false, path);
    EXPECT_EQ(path, deep + L"\\P\\C\\app.ini");
}

TEST(SettingsLocation, PairedUserFileNeedsAPairProduct) {
    TempFolder appData;
    ScopedVariable variable(L"APPDATA", appData.path());
    Launcher launcher;
    launcher.productName = L"P";
    launcher.productCode = L"C";
    std::wstring path = L"stale";
    launcher.pairedUserSettingsFilePath(path);
    EXPECT_EQ(path, L"");
    launcher.pairProduct = L"C:\\Apps\\viewer32.exe";
    launcher.pairedUserSettingsFilePath(path);
    EXPECT_EQ(path, appData.path() + L"\\P\\C\\viewer32.ini");
    // Folders are created for the paired file: it is only ever formed to be written.
    EXPECT_NE(GetFileAttributesW(appData.file(L"P\\C").c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace
