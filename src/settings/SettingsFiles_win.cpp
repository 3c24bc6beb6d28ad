#include "settings/SettingsFiles.h"

#include "jvm/Messages.h"
#include "launcher/Launcher.h"
#include "launcher/ProcessInfo.h"
#include "res/resource.h"

bool Launcher::settingsFilePath(std::wstring& path) const {
    std::wstring modulePath;
    DWORD error = 0;
    if (!readModulePath(modulePath, error)) {
        showWindowsError(messageOwner, IDS_MODULE_PATH_FAILED, error);
        return false;
    }
    // A module path without any dot has no settings file: the stage fails silently.
    const auto settingsPath = settingsPathForModule(modulePath);
    if (!settingsPath)
        return false;
    path = *settingsPath;
    return true;
}

void Launcher::userSettingsFilePath(const std::wstring& executablePath, bool createFolders,
                                    std::wstring& path) const {
    // Without APPDATA the path starts with a backslash: the root of the current drive.
    const UserSettingsLocation location = userSettingsLocation(
        executablePath, productName, productCode, environmentVariable(L"APPDATA").value_or(L""));
    if (createFolders) {
        // Failures are ignored: the write that follows fails on its own if it must.
        CreateDirectoryW(location.productFolder.c_str(), nullptr);
        CreateDirectoryW(location.codeFolder.c_str(), nullptr);
    }
    path = location.filePath;
}

void Launcher::ownUserSettingsFilePath(bool createFolders, std::wstring& path) const {
    path.clear();
    std::wstring modulePath;
    DWORD error = 0;
    if (!readModulePath(modulePath, error)) {
        showWindowsError(messageOwner, IDS_MODULE_PATH_FAILED, error);
        return;
    }
    userSettingsFilePath(modulePath, createFolders, path);
}

void Launcher::pairedUserSettingsFilePath(std::wstring& path) const {
    path.clear();
    if (!pairProduct.empty())
        userSettingsFilePath(pairProduct, true, path);
}
