#include "javaopts/ExecutableFolder.h"

std::wstring executableFolder(const std::wstring& executablePath) {
    const std::size_t backslash = executablePath.rfind(L'\\');
    return backslash == std::wstring::npos ? std::wstring{} : executablePath.substr(0, backslash);
}

std::wstring executableFolderWithBackslash(const std::wstring& executablePath) {
    const std::size_t backslash = executablePath.rfind(L'\\');
    return backslash == std::wstring::npos ? std::wstring{}
                                           : executablePath.substr(0, backslash + 1);
}

std::wstring workingDirectoryFor(const std::wstring& executablePath) {
    const std::size_t backslash = executablePath.rfind(L'\\');
    if (backslash == std::wstring::npos || backslash == 0)
        return {};
    // "C:" alone names the current folder of drive C, not its root, so an executable at
    // C:\run.exe must change to "C:\" (and \\?\C:\run.exe to "\\?\C:\").
    if (executablePath[backslash - 1] == L':')
        return executablePath.substr(0, backslash + 1);
    return executablePath.substr(0, backslash);
}
