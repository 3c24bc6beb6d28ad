// Windows DLLs the launcher needs only for one feature (shell dialogs, pictures, OLE) are loaded
// when that feature runs, from the system folder by full path.
#pragma once

#include "launcher/UniqueHandle.h"

#include <windows.h>

// Loads `name` (for example L"shell32.dll") from the system folder. A DLL of the same name
// beside the executable, in the current directory or on the PATH is never picked up. Empty when
// the library cannot be loaded; GetLastError then tells why.
[[nodiscard]] UniqueModule loadSystemLibrary(const wchar_t* name);

// An export of a loaded library as a typed function pointer; null when it is missing.
template <typename Function> Function libraryFunction(HMODULE library, const char* name) {
    return library
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)))
               : nullptr;
}
