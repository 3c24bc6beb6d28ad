// Where the runtime is, its native library path, PATH and the current directory: all set in
// this process so that the VM created inside it, and every process it starts, inherit them.
#include "javaopts/EnvironmentSetup.h"

#include "javaopts/AnsiText.h"
#include "javaopts/EnvironmentReferences.h"
#include "javaopts/ExecutableFolder.h"
#include "javaopts/PathList.h"
#include "jvm/Messages.h"
#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"
#include "launcher/PathForm.h"
#include "launcher/ProcessInfo.h"
#include "res/resource.h"

bool lookUpEnvironmentVariable(const std::wstring& name, std::wstring& value) {
    std::optional<std::wstring> found = environmentVariable(name);
    if (!found)
        return false;
    value = std::move(*found);
    return true;
}

void expandFromProcessEnvironment(std::wstring& text) {
    expandEnvironmentReferences(text, lookUpEnvironmentVariable);
}

std::string vmOptionText(const std::wstring& option, std::wstring* unnamedPath) {
    // The VM reads its options in the ANSI code page. A path of the class path or the library
    // path that the code page cannot hold goes by its short name, which it can; any other
    // character the code page lacks becomes its default character, which is what the VM would
    // see from any native caller. Where the code page is UTF-8 every option passes intact.
    return vmOptionAnsiText(option, threadAnsiText, shortPathName, unnamedPath);
}

bool appendVmOption(HWND owner, const std::wstring& option, std::vector<std::string>& options) {
    std::wstring unnamedPath;
    options.push_back(vmOptionText(option, &unnamedPath));
    if (unnamedPath.empty())
        return true;
    // A path that exists but has no name in the code page (no short name: 8.3 names are off
    // on its volume) would leave the VM unable to find its classes with no word of why.
    showFormattedMessage(owner, IDS_PATH_OUTSIDE_CODE_PAGE, unnamedPath);
    return false;
}

void publishJvmLocation(const std::wstring& jvmLibraryPath) {
    // Not checked: a variable that cannot be set only withholds a convenience from the
    // application, never the launch.
    SetEnvironmentVariableW(L"QOVA_JVM_PATH", jvmLibraryPath.c_str());
    traceEnvironment(L"QOVA_JVM_PATH", jvmLibraryPath);
    const std::wstring home = runtimeHomeFolder(jvmLibraryPath);
    SetEnvironmentVariableW(L"QOVA_JVM_HOME", home.c_str());
    traceEnvironment(L"QOVA_JVM_HOME", home);
}

void Launcher::prepareEnvironment() {
    // The loader finds the VM library's own dependencies (the C runtime in its bin folder) by
    // searching folders with the classic path limit; a runtime deeper than that is loaded
    // through its short folder names, and the environment names it so too, so that PATH leads
    // the search to those dependencies. Not the \\?\ form: the VM takes its home folder, and
    // every path it derives, from its library's path.
    jvmLibraryPath = pathForLimitedCall(jvmLibraryPath, kLibraryLoadLimit);
    publishJvmLocation(jvmLibraryPath);

    // The library path is composed before PATH changes, so its %Path% and any reference in
    // "Library Path" take the values the launcher was started with.
    if (!libraryPath.empty()) {
        std::wstring executablePath;
        DWORD error = 0;
        if (!readModulePath(executablePath, error))
            showWindowsError(messageOwner, IDS_MODULE_PATH_FAILED, error);
        libraryPath = composeLibraryPath(libraryPath, executableFolderWithBackslash(executablePath),
                                         jvmLibraryPath);
        expandFromProcessEnvironment(libraryPath);
        // The first option of the launch: the VM receives it before the class path. A folder
        // here without a name in the code page does not stop the launch, as one of the class
        // path does: the PATH is part of it, and may list folders the application never needs.
        vmOptions.push_back(vmOptionText(libraryPathOption(libraryPath)));
    }

    std::wstring path = composeSystemPath(systemPath, jvmLibraryPath);
    expandFromProcessEnvironment(path);
    SetEnvironmentVariableW(L"Path", path.c_str());
    traceEnvironment(L"Path", path);
}

void Launcher::setWorkingDirectoryToExecutableFolder() {
    if (!overrideWorkingDir)
        return;
    std::wstring executablePath;
    DWORD error = 0;
    if (!readModulePath(executablePath, error)) {
        showWindowsError(messageOwner, IDS_MODULE_PATH_FAILED, error);
        return;
    }
    // The current directory keeps the classic path limit even in a long-path-aware process,
    // and a \\?\ current directory would reach every relative path resolved against it: a
    // deeper folder becomes current through its short folder names.
    const std::wstring folder =
        pathForLimitedCall(workingDirectoryFor(executablePath), kCurrentDirectoryLimit);
    // Not checked: relative paths then resolve against the directory the process started in,
    // as they would without the setting.
    if (!folder.empty() && SetCurrentDirectoryW(folder.c_str()))
        traceWorkingDirectory(folder);
}
