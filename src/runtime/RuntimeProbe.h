// Whether a folder is a usable runtime home, and the private runtime beside the executable.
#pragma once

#include <windows.h>

#include <string>

struct FoundJvmLibrary {
    // Full path of the JVM library; empty when the folder has none usable for the JVM type.
    std::wstring path;
    bool isServer = false;
};

// Probes a runtime home (ending in "\") for its JVM library in the order the JVM type asks for.
FoundJvmLibrary findJvmLibrary(const std::wstring& homeFolder, int jvmType);

// A folder (ending in "\") is a runtime home when it holds "bin\java.dll".
bool isJavaHome(const std::wstring& folder);

// The private runtime of an executable folder (ending in "\"): the folder itself, else its
// "jre64\" folder ("jre32\" in the 32-bit build); empty when neither is a runtime home.
std::wstring privateRuntimeIn(const std::wstring& executableFolder);

// The private runtime beside this executable, empty when there is none. False, after a
// message owned by `owner`, only when the executable's own path cannot be read.
[[nodiscard]] bool findPrivateRuntime(HWND owner, std::wstring& folder);
