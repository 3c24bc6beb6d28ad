// Runtimes registered for a test under the real family keys of HKEY_LOCAL_MACHINE, in either
// registry view, and runtime folders laid out on disk for the probe.
#pragma once

#include "runtime/RuntimeFamilies.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The five families, by their position in the search order.
enum class Family { SunJdk, SunJre, JRockitJre, JRockitJdk, IbmJre };

const RuntimeFamily& familyOf(Family family);

// How a "JavaHome" value is stored.
struct JavaHomeValue {
    std::wstring text;
    DWORD type = REG_SZ;
    bool terminated = true; // stored with its terminating NUL
};

// One registry sub-key <family key><name> with an optional "JavaHome". The sub-key, and every
// key above it the test had to create, is deleted again when the object goes away, also when
// the test fails. Use version numbers no real runtime has, so tests running at the same time
// do not see each other's runtimes.
class RegisteredRuntime {
public:
    RegisteredRuntime(Family family, bool use32BitView, const std::wstring& name,
                      const std::optional<JavaHomeValue>& javaHome);
    RegisteredRuntime(Family family, bool use32BitView, const std::wstring& name,
                      const std::wstring& javaHome)
        : RegisteredRuntime(family, use32BitView, name, JavaHomeValue{javaHome}) {}
    ~RegisteredRuntime();
    RegisteredRuntime(const RegisteredRuntime&) = delete;
    RegisteredRuntime& operator=(const RegisteredRuntime&) = delete;

    bool created() const { return created_; }

private:
    REGSAM view_;
    std::wstring path_;
    // Keys above the sub-key that this object created, the deepest last.
    std::vector<std::wstring> createdKeys_;
    bool created_ = false;
};

// Lays out a runtime home for the probe: bin\java.dll unless `javaLibrary` is false, and an
// empty bin\<folder>\jvm.dll for each named JVM folder. Returns the folder ending in "\".
std::wstring makeRuntimeHome(const std::wstring& folder, const std::vector<std::wstring>& jvmFolders,
                             bool javaLibrary = true);
