// Runtimes registered for a test under the real family keys of HKEY_LOCAL_MACHINE, in either
// registry view, and runtime folders laid out on disk for the probe.
#pragma once

#include "ScopedRegistryKey.h"
#include "runtime/RuntimeFamilies.h"

#include <optional>
#include <string>
#include <vector>

// The five families, by their position in the search order.
enum class Family { SunJdk, SunJre, JRockitJre, JRockitJdk, IbmJre };

const RuntimeFamily& familyOf(Family family);

// One registry sub-key <family key><name> with an optional "JavaHome", removed again with the
// object. Use version numbers no real runtime has, so tests running at the same time do not
// see each other's runtimes.
class RegisteredRuntime : public ScopedRegistryKey {
  public:
    RegisteredRuntime(Family family, bool use32BitView, const std::wstring& name,
                      const std::optional<JavaHomeValue>& javaHome)
        : ScopedRegistryKey(std::wstring(familyOf(family).key) + name, use32BitView, javaHome) {}
    RegisteredRuntime(Family family, bool use32BitView, const std::wstring& name,
                      const std::wstring& javaHome)
        : RegisteredRuntime(family, use32BitView, name, JavaHomeValue{javaHome}) {}
};

// One runtime as a current distribution's installer registers it: the home in `valueName` of
// <familyKey>\<name><below> under `hive` ("Software\Eclipse Adoptium\JDK", "17.0.8.101",
// "\hotspot\MSI", "Path"). Removed again with the object, with the keys it had to create.
class RegisteredDistribution : public ScopedRegistryKey {
  public:
    RegisteredDistribution(HKEY hive, bool use32BitView, const std::wstring& familyKey,
                           const std::wstring& name, const std::wstring& below,
                           const wchar_t* valueName, const std::optional<JavaHomeValue>& home)
        : ScopedRegistryKey(hive, familyKey + L"\\" + name + below, use32BitView, valueName, home) {
    }
};

// Lays out a runtime home for the probe: bin\java.dll unless `javaLibrary` is false, and an
// empty bin\<folder>\jvm.dll for each named JVM folder. Returns the folder ending in "\".
std::wstring makeRuntimeHome(const std::wstring& folder,
                             const std::vector<std::wstring>& jvmFolders, bool javaLibrary = true);

// Just the headers that name an image of the paired launcher's architecture (32-bit x86 beside
// the x64 launcher, x64 beside the ARM64 one), for a JVM library only the paired launcher loads.
std::string pairedImageHeaders();
