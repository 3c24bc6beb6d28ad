// Reading the registry keys and values that installers write for their runtimes.
#pragma once

#include "launcher/UniqueHandle.h"

#include <windows.h>

#include <string>
#include <vector>

// The key below `parent` opened for reading, in the 32-bit or the native view; empty when it
// cannot be opened.
UniqueRegistryKey openRegistryKey(HKEY parent, const std::wstring& path, bool use32BitView);

// The names of the key's sub-keys, in enumeration order.
std::vector<std::wstring> registrySubKeyNames(HKEY key);

// The whole value as text, whatever its stored type or length; empty when it is missing.
std::wstring readRegistryText(HKEY key, const wchar_t* valueName);
