#include "RegisteredRuntime.h"

#include "TestFiles.h"

namespace {

bool keyExists(const std::wstring& path, REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

} // namespace

const RuntimeFamily& familyOf(Family family) {
    return runtimeFamilies()[static_cast<size_t>(family)];
}

RegisteredRuntime::RegisteredRuntime(Family family, bool use32BitView, const std::wstring& name,
                                     const std::optional<JavaHomeValue>& javaHome)
    : view_(use32BitView ? KEY_WOW64_32KEY : KEY_WOW64_64KEY) {
    const std::wstring path = std::wstring(familyOf(family).key) + name;
    // Note which keys along the path are new, so that only those are removed again.
    for (size_t end = path.find(L'\\'); end != std::wstring::npos;
         end = path.find(L'\\', end + 1)) {
        const std::wstring prefix = path.substr(0, end);
        if (!keyExists(prefix, view_))
            createdKeys_.push_back(prefix);
    }
    path_ = path;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE | view_,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    created_ = true;
    if (javaHome) {
        const size_t units = javaHome->text.size() + (javaHome->terminated ? 1 : 0);
        created_ = RegSetValueExW(key, L"JavaHome", 0, javaHome->type,
                                  reinterpret_cast<const BYTE*>(javaHome->text.c_str()),
                                  static_cast<DWORD>(units * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
}

RegisteredRuntime::~RegisteredRuntime() {
    // The sub-key itself was either created here or existed from an earlier, aborted run:
    // remove it in both cases. Keys above it go only if this object created them, and only
    // when they are empty (RegDeleteKeyExW refuses a key that still has sub-keys), so another
    // test's runtime in the same family survives.
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), view_, 0);
    for (auto key = createdKeys_.rbegin(); key != createdKeys_.rend(); ++key)
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key->c_str(), view_, 0);
}

std::wstring makeRuntimeHome(const std::wstring& folder, const std::vector<std::wstring>& jvmFolders,
                             bool javaLibrary) {
    createFolders(folder + L"\\bin");
    if (javaLibrary)
        writeBytesFile(folder + L"\\bin\\java.dll", "");
    for (const std::wstring& jvm : jvmFolders) {
        createFolders(folder + L"\\bin\\" + jvm);
        writeBytesFile(folder + L"\\bin\\" + jvm + L"\\jvm.dll", "");
    }
    return folder + L"\\";
}
