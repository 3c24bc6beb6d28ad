#include "LauncherFile.h"

#include "ByteReading.h"
#include "ConsoleOutput.h"
#include "FileBytes.h"
#include "PeImage.h"
#include "StampTexts.h"
#include "settings/EmbeddedSettingsText.h"

#include <cwchar>

bool openLauncherFile(const std::wstring& path, LauncherFile& launcher, int& exitCode) {
    launcher.path = path;
    std::uint32_t error = 0;
    if (!readFileBytes(path, launcher.bytes, error)) {
        printError(texts::cannotRead(path, error));
        exitCode = texts::kFileFailed;
        return false;
    }
    exitCode = texts::kRefused;
    // The headers are checked on the bytes before Windows is asked to map the file.
    const ExecutableCheck check = checkExecutable(launcher.bytes);
    if (check.problem != ExecutableProblem::none) {
        printError(texts::notALauncher(path, check.problem));
        return false;
    }
    launcher.is64Bit = check.is64Bit;
    if (!launcher.resources.open(path, error)) {
        printError(texts::notALauncher(path, ExecutableProblem::notPe));
        return false;
    }
    const auto mark =
        launcher.resources.bytes(RT_RCDATA, ResourceName::of(embedded::launcherMarkResourceName));
    if (!mark || mark->size() < 2 || readLe16(*mark, 0) == 0) {
        printError(texts::notALauncherWithoutMark(path));
        return false;
    }
    launcher.format = readLe16(*mark, 0);
    if (launcher.format > embedded::resourceFormat) {
        printError(texts::newerLauncherFormat(path, launcher.format));
        return false;
    }
    exitCode = texts::kDone;
    return true;
}

VersionFields readVersionFields(const std::wstring& path) {
    VersionFields fields;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return fields;
    std::vector<std::uint8_t> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data()))
        return fields;
    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueW(block.data(), L"\\", &value, &length) &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        fields.fileVersion = {HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                              HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
        fields.productVersion = {
            HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS),
            HIWORD(fixed->dwProductVersionLS), LOWORD(fixed->dwProductVersionLS)};
    }
    for (const wchar_t* name : kVersionStringNames) {
        const std::wstring query =
            std::wstring(L"\\StringFileInfo\\") + kVersionLanguageBlock + L"\\" + name;
        if (VerQueryValueW(block.data(), query.c_str(), &value, &length) && value && length > 0)
            fields.strings.emplace_back(
                name, std::wstring(static_cast<const wchar_t*>(value),
                                   wcsnlen(static_cast<const wchar_t*>(value), length)));
    }
    return fields;
}
