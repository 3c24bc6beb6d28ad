// The two things the dialogs ask of the Windows shell: open an address, and let the user pick a
// folder. The shell's libraries are loaded the first time either is used.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// Opens the address (a web page, a file) with the shell's "open" verb; true when the shell
// reports success.
[[nodiscard]] bool openWithShell(const std::wstring& address);

// Shows the shell's folder browser owned by `owner`, rooted at the desktop and offering file
// system folders only. None when the user cancels (or the browser cannot be shown); otherwise
// the chosen folder's path, empty if the shell cannot name it as a file-system path.
[[nodiscard]] std::optional<std::wstring> browseForFolder(HWND owner, const std::wstring& title);
