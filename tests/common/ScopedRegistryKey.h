// A registry key under HKEY_LOCAL_MACHINE (or another hive) that exists for one test: created
// with an optional home value ("JavaHome" unless named otherwise), deleted again when the object
// goes away (also when the test fails), with every key above it that had to be created. Keys
// above it are removed only while empty, so another test's key beside it survives.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// How a "JavaHome" value is stored.
struct JavaHomeValue {
    std::wstring text;
    DWORD type = REG_SZ;
    bool terminated = true; // stored with its terminating NUL
};

class ScopedRegistryKey {
  public:
    ScopedRegistryKey(const std::wstring& path, bool use32BitView,
                      const std::optional<JavaHomeValue>& javaHome)
        : ScopedRegistryKey(HKEY_LOCAL_MACHINE, path, use32BitView, L"JavaHome", javaHome) {}

    ScopedRegistryKey(HKEY hive, const std::wstring& path, bool use32BitView,
                      const wchar_t* valueName, const std::optional<JavaHomeValue>& javaHome)
        : hive_(hive), view_(use32BitView ? KEY_WOW64_32KEY : KEY_WOW64_64KEY), path_(path) {
        for (size_t end = path.find(L'\\'); end != std::wstring::npos;
             end = path.find(L'\\', end + 1)) {
            const std::wstring prefix = path.substr(0, end);
            if (!exists(prefix))
                createdAbove_.push_back(prefix);
        }
        HKEY key = nullptr;
        if (RegCreateKeyExW(hive_, path.c_str(), 0, nullptr, 0, KEY_WRITE | view_, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return;
        created_ = true;
        if (javaHome) {
            const size_t units = javaHome->text.size() + (javaHome->terminated ? 1 : 0);
            created_ = RegSetValueExW(key, valueName, 0, javaHome->type,
                                      reinterpret_cast<const BYTE*>(javaHome->text.c_str()),
                                      static_cast<DWORD>(units * sizeof(wchar_t))) == ERROR_SUCCESS;
        }
        RegCloseKey(key);
    }

    ~ScopedRegistryKey() {
        // The key itself goes even when it was left over from an aborted run.
        RegDeleteKeyExW(hive_, path_.c_str(), view_, 0);
        for (auto key = createdAbove_.rbegin(); key != createdAbove_.rend(); ++key)
            RegDeleteKeyExW(hive_, key->c_str(), view_, 0);
    }

    ScopedRegistryKey(const ScopedRegistryKey&) = delete;
    ScopedRegistryKey& operator=(const ScopedRegistryKey&) = delete;

    bool created() const { return created_; }

  private:
    bool exists(const std::wstring& path) const {
        HKEY key = nullptr;
        if (RegOpenKeyExW(hive_, path.c_str(), 0, KEY_READ | view_, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    HKEY hive_;
    REGSAM view_;
    std::wstring path_;
    std::vector<std::wstring> createdAbove_; // the deepest last
    bool created_ = false;
};
