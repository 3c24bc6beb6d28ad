// The folder of the running executable, in the forms its users need.
#pragma once

#include <string>

// Up to but not including the last backslash (C:\App for C:\App\run.exe): relative class path
// entries, written with a leading backslash, are glued directly behind it. Empty when the
// path has no backslash.
[[nodiscard]] std::wstring executableFolder(const std::wstring& executablePath);

// Up to and including the last backslash (C:\App\), as it goes into the library path.
[[nodiscard]] std::wstring executableFolderWithBackslash(const std::wstring& executablePath);

// The folder to make the current directory, or empty when there is none to change to (no
// backslash, or only a leading one). A drive root keeps its backslash.
[[nodiscard]] std::wstring workingDirectoryFor(const std::wstring& executablePath);
