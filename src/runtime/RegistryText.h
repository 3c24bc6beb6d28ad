// Text out of registry value data, which need not be terminated or even be a string.
#pragma once

#include <cstddef>
#include <string>

// The text of `units` UTF-16 units as the registry returned them: up to the first NUL, or all
// of them when there is none.
std::wstring textFromRegistryData(const wchar_t* data, size_t units);
