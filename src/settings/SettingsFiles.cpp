#include "settings/SettingsFiles.h"

#include <string_view>

std::optional<std::wstring> settingsPathForModule(const std::wstring& modulePath) {
    // The last dot of the whole path counts, even one in a folder name: C:\My.Apps\launcher
    // has the settings file C:\My.ini.
    const size_t dot = modulePath.rfind(L'.');
    if (dot == std::wstring::npos)
        return std::nullopt;
    return modulePath.substr(0, dot + 1) + L"ini";
}

std::wstring folderNameForProduct(const std::wstring& productName) {
    constexpr std::wstring_view forbidden = L"\\?\"|><:/*";
    std::wstring name;
    for (const wchar_t c : productName)
        if (forbidden.find(c) == std::wstring_view::npos)
            name += c;
    return name;
}

UserSettingsLocation userSettingsLocation(const std::wstring& executablePath,
                                          const std::wstring& productName,
                                          const std::wstring& productCode,
                                          const std::wstring& appData) {
    const size_t slash = executablePath.rfind(L'\\');
    std::wstring fileName =
        slash == std::wstring::npos ? executablePath : executablePath.substr(slash + 1);
    const size_t dot = fileName.rfind(L'.');
    if (dot != std::wstring::npos)
        fileName.erase(dot);
    fileName += L".ini";

    UserSettingsLocation location;
    location.productFolder = appData + L"\\" + folderNameForProduct(productName);
    location.codeFolder = location.productFolder + L"\\" + productCode;
    location.filePath = location.codeFolder + L"\\" + fileName;
    return location;
}
