// Where the settings files are, worked out from the executable's path.
#pragma once

#include <optional>
#include <string>

// The settings file beside an executable: its path up to and including the last "." of the
// whole path, followed by "ini". None when the path has no dot at all.
std::optional<std::wstring> settingsPathForModule(const std::wstring& modulePath);

// The per-user settings file of an executable, and the two folders above it.
struct UserSettingsLocation {
    std::wstring productFolder; // <APPDATA>\<product name without forbidden characters>
    std::wstring codeFolder;    // productFolder\<product code>
    std::wstring filePath;      // codeFolder\<executable base name>.ini
};

UserSettingsLocation userSettingsLocation(const std::wstring& executablePath,
                                          const std::wstring& productName,
                                          const std::wstring& productCode,
                                          const std::wstring& appData);

// The product name as a folder name: the characters Windows forbids in names are dropped.
std::wstring folderNameForProduct(const std::wstring& productName);
