// Narrow text in the calling thread's ANSI code page, or UTF-8 in a process whose ANSI code
// page is UTF-8 (its manifest asks for it): what the VM takes its options in and the runtime's
// splash library its image path in.
#pragma once

#include "javaopts/AnsiPathText.h"

#include <string>

// The text as WideCharToMultiByte has always given it, and whether that lost anything.
[[nodiscard]] AnsiText threadAnsiText(const std::wstring& text);

// The path's short (8.3) form; empty when the path cannot be found.
[[nodiscard]] std::wstring shortPathName(const std::wstring& path);

// A path for a narrow interface, such as the runtime splash library's image file: as it is
// when the code page holds it, else by its short name where the volume has one.
[[nodiscard]] std::string toAnsiPath(const std::wstring& path);
