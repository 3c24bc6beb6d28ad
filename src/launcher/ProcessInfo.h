// Facts about this process that several stages read: its executable path and environment.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The executable's full path, of any length. On failure returns false and leaves the
// Windows error code in `error`.
[[nodiscard]] bool readModulePath(std::wstring& path, DWORD& error);

// The whole value of an environment variable, of any length; none when it is not set.
std::optional<std::wstring> environmentVariable(const std::wstring& name);
