#include "runtime/RegistryKeys.h"

#include "runtime/RegistryText.h"

namespace {

// Registry key names are at most 255 characters.
constexpr DWORD maxKeyNameLength = 256;
// The characters of the first read of a value: a folder within the classic path limit.
constexpr size_t firstValueLength = MAX_PATH + 1;

} // namespace

UniqueRegistryKey openRegistryKey(HKEY parent, const std::wstring& path, bool use32BitView) {
    const REGSAM access = KEY_READ | (use32BitView ? KEY_WOW64_32KEY : 0);
    HKEY opened = nullptr;
    // The out value is not a key when the call fails: only a success is owned.
    if (RegOpenKeyExW(parent, path.c_str(), 0, access, &opened) != ERROR_SUCCESS)
        return {};
    return UniqueRegistryKey(opened);
}

std::vector<std::wstring> registrySubKeyNames(HKEY key) {
    std::vector<std::wstring> names;
    wchar_t name[maxKeyNameLength];
    for (DWORD index = 0;; ++index) {
        DWORD length = maxKeyNameLength;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

// The whole value as text, whatever its stored type or length, never read past what the
// registry returned (the data need not end in a NUL). Empty when it is missing.
std::wstring readRegistryText(HKEY key, const wchar_t* valueName) {
    // A folder usually fits the first buffer, so a value is read in one call; a longer one is
    // read again at the size the registry reported.
    std::wstring buffer(firstValueLength, L'\0');
    DWORD returned = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    LONG status = RegQueryValueExW(key, valueName, nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(buffer.data()), &returned);
    // A value that keeps growing between the calls is given up on after a few tries.
    for (int attempt = 0; status == ERROR_MORE_DATA && attempt < 4; ++attempt) {
        // Rounded up to whole characters; the value may have grown since the size was read.
        buffer.assign(returned / sizeof(wchar_t) + 1, L'\0');
        returned = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status = RegQueryValueExW(key, valueName, nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(buffer.data()), &returned);
    }
    if (status != ERROR_SUCCESS)
        return {};
    return textFromRegistryData(buffer.data(), returned / sizeof(wchar_t));
}
