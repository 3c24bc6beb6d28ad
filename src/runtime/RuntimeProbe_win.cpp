#include "runtime/RuntimeProbe.h"

#include "javaopts/ExecutableFolder.h"
#include "jvm/Messages.h"
#include "launcher/Architecture.h"
#include "launcher/LaunchTrace.h"
#include "launcher/ProcessInfo.h"
#include "launcher/UniqueHandle.h"
#include "res/resource.h"
#include "runtime/RuntimeFamilies.h"

namespace {

// A directory search rather than GetFileAttributesW: it is what tells a runtime home apart,
// and it treats a name that exists only as a folder the same way as a file.
bool pathExists(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    const UniqueFind search(FindFirstFileW(path.c_str(), &found));
    return static_cast<bool>(search);
}

} // namespace

FoundJvmLibrary findJvmLibrary(const std::wstring& homeFolder, int jvmType) {
    for (const JvmLibraryLocation& location : jvmLibraryProbeOrder(jvmType)) {
        std::wstring path = homeFolder + location.relativePath;
        if (pathExists(path))
            return {std::move(path), location.isServer};
    }
    return {};
}

bool isJavaHome(const std::wstring& folder) {
    return pathExists(folder + L"bin\\java.dll");
}

std::wstring privateRuntimeIn(const std::wstring& executableFolder) {
    // An empty folder would make the probe relative to the current directory.
    if (executableFolder.empty())
        return {};
    // The executable may sit inside the runtime it ships (its bin\ beside it).
    if (isJavaHome(executableFolder))
        return executableFolder;
    std::wstring bundled = executableFolder + architecture::kPrivateRuntimeFolder;
    if (isJavaHome(bundled))
        return bundled;
    return {};
}

bool findPrivateRuntime(HWND owner, std::wstring& folder) {
    folder.clear();
    std::wstring modulePath;
    DWORD error = 0;
    if (!readModulePath(modulePath, error)) {
        showWindowsError(owner, IDS_MODULE_PATH_FAILED, error);
        return false;
    }
    const std::wstring executableFolder = executableFolderWithBackslash(modulePath);
    folder = privateRuntimeIn(executableFolder);
    if (folder.empty())
        traceRuntimeFolder("private", executableFolder, {}, "no-runtime-home");
    return true;
}
