#include "launcher/SystemLibrary.h"

#include <string>

UniqueModule loadSystemLibrary(const wchar_t* name) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const UINT length = GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
        if (length == 0)
            return UniqueModule();
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(length); // too small: length is the size needed
    }
    if (path.back() != L'\\')
        path += L'\\';
    path += name;
    // LOAD_WITH_ALTERED_SEARCH_PATH: the library's own dependencies are looked for beside it,
    // in the system folder, not beside the executable.
    return UniqueModule(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}
