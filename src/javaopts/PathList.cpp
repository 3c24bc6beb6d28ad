#include "javaopts/PathList.h"

std::wstring stripPathComponents(std::wstring path, unsigned count) {
    for (unsigned i = 0; i < count; ++i) {
        const std::size_t backslash = path.rfind(L'\\');
        if (backslash == std::wstring::npos)
            break;
        path.erase(backslash);
    }
    return path;
}

std::wstring runtimeHomeFolder(const std::wstring& jvmLibraryPath) {
    return stripPathComponents(jvmLibraryPath, 3);
}

std::wstring runtimeBinFolder(const std::wstring& jvmLibraryPath) {
    return stripPathComponents(jvmLibraryPath, 2);
}

std::wstring runtimeLibFolder(const std::wstring& jvmLibraryPath) {
    return runtimeHomeFolder(jvmLibraryPath) + L"\\lib";
}

void appendListSeparator(std::wstring& list) {
    if (!list.empty() && list.back() != L';')
        list += L';';
}

std::wstring composeLibraryPath(const std::wstring& libraryPath,
                                const std::wstring& executableFolderWithBackslash,
                                const std::wstring& jvmLibraryPath) {
    std::wstring result = libraryPath;
    appendListSeparator(result);
    // The PATH goes in as a reference: expanded before the PATH itself is changed, the VM
    // finds native libraries where the launching process found them.
    result += executableFolderWithBackslash + L";.;%Path%;" + runtimeLibFolder(jvmLibraryPath);
    return result;
}

std::wstring composeSystemPath(const std::wstring& systemPath, const std::wstring& jvmLibraryPath) {
    std::wstring result = systemPath;
    appendListSeparator(result);
    // The runtime's bin folder lets libraries loaded later by name, in this process and its
    // children, find the runtime's own; it goes last so it overrides nothing put before it.
    result += L"%Path%;" + runtimeBinFolder(jvmLibraryPath);
    return result;
}

std::wstring libraryPathOption(const std::wstring& expandedLibraryPath) {
    return L"-Djava.library.path=" + expandedLibraryPath;
}
