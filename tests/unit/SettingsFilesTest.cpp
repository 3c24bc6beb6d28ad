// Where the settings file and the per-user settings file are.
#include "settings/SettingsFiles.h"

#include <gtest/gtest.h>

namespace {

TEST(SettingsFilePath, LastDotOfWholePathCounts) {
    EXPECT_EQ(settingsPathForModule(L"C:\\Apps\\Viewer\\viewer.exe"), L"C:\\Apps\\Viewer\\viewer.ini");
    EXPECT_EQ(settingsPathForModule(L"C:\\My.Apps\\launcher"), L"C:\\My.ini");
    EXPECT_EQ(settingsPathForModule(L"C:\\a\\b.c.exe"), L"C:\\a\\b.c.ini");
    EXPECT_EQ(settingsPathForModule(L"C:\\Tools\\run\\launcher"), std::nullopt);
}

TEST(UserSettingsPath, ProductFoldersUnderAppData) {
    const auto location =
        userSettingsLocation(L"C:\\Apps\\viewer.exe", L"Viewer: Pro", L"{0A1B}", L"C:\\Users\\u\\AppData\\Roaming");
    EXPECT_EQ(location.productFolder, L"C:\\Users\\u\\AppData\\Roaming\\Viewer Pro");
    EXPECT_EQ(location.codeFolder, L"C:\\Users\\u\\AppData\\Roaming\\Viewer Pro\\{0A1B}");
    EXPECT_EQ(location.filePath, L"C:\\Users\\u\\AppData\\Roaming\\Viewer Pro\\{0A1B}\\viewer.ini");
}

TEST(UserSettingsPath, FileNameRules) {
    EXPECT_EQ(userSettingsLocation(L"viewer", L"P", L"C", L"D").filePath, L"D\\P\\C\\viewer.ini");
    EXPECT_EQ(userSettingsLocation(L"C:\\x.y\\app.v2.exe", L"P", L"C", L"D").filePath,
              L"D\\P\\C\\app.v2.ini");
    // The last dot of the file name, not of the folder, is cut.
    EXPECT_EQ(userSettingsLocation(L"C:\\x.y\\app", L"P", L"C", L"D").filePath, L"D\\P\\C\\app.ini");
}

TEST(UserSettingsPath, ForbiddenCharactersAndMissingAppData) {
    EXPECT_EQ(folderNameForProduct(L"a\\b?c\"d|e>f<g:h/i*j"), L"abcdefghij");
    // Only forbidden characters: an empty folder name, so two backslashes in a row.
    EXPECT_EQ(userSettingsLocation(L"app.exe", L"\\?\"|><:/*", L"C", L"D").filePath, L"D\\\\C\\app.ini");
    // No APPDATA: the path starts at the root of the current drive.
    EXPECT_EQ(userSettingsLocation(L"app.exe", L"P", L"C", L"").filePath, L"\\P\\C\\app.ini");
}

} // namespace
