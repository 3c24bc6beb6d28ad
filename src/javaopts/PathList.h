// Path text for the environment step: the runtime's folders, the library path and PATH.
#pragma once

#include <string>

// The path with its last `count` components removed; each removal cuts at the last backslash
// (which goes too). Once no backslash is left, further removals change nothing.
[[nodiscard]] std::wstring stripPathComponents(std::wstring path, unsigned count);

// Folders of the runtime whose JVM library is <home>\bin\<type>\jvm.dll.
[[nodiscard]] std::wstring runtimeHomeFolder(const std::wstring& jvmLibraryPath);
[[nodiscard]] std::wstring runtimeBinFolder(const std::wstring& jvmLibraryPath);
[[nodiscard]] std::wstring runtimeLibFolder(const std::wstring& jvmLibraryPath);

// Appends ";" unless the list is empty or already ends with one.
void appendListSeparator(std::wstring& list);

// "Library Path" followed by the executable's folder, ".", the PATH and the runtime's lib
// folder; references are left for the caller to expand.
[[nodiscard]] std::wstring composeLibraryPath(const std::wstring& libraryPath,
                                              const std::wstring& executableFolderWithBackslash,
                                              const std::wstring& jvmLibraryPath);

// "System Path" in front of the PATH, the runtime's bin folder behind it; references are left
// for the caller to expand.
[[nodiscard]] std::wstring composeSystemPath(const std::wstring& systemPath,
                                             const std::wstring& jvmLibraryPath);

[[nodiscard]] std::wstring libraryPathOption(const std::wstring& expandedLibraryPath);
