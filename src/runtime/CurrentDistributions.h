// Where Java 9 and later register: each distribution under a key of its own, with the home in a
// value of its own, and kits without a "jre\" folder. A registration there becomes a candidate
// under the same family rules as the classic keys, so that the source, provider, bounds,
// ordering and preferred versions keep their meaning.
#pragma once

#include "runtime/RegistryRuntimes.h"
#include "runtime/RuntimeFamilies.h"

#include <array>
#include <optional>
#include <string>

struct CurrentFamily {
    // Below the hive, without a trailing backslash; one sub-key per installed version.
    const wchar_t* key;
    // Below the version's sub-key, the key that holds the home value; empty for the version's
    // sub-key itself.
    const wchar_t* installSubKey;
    const wchar_t* homeValue;
    // Unset where the key does not tell a kit from a runtime environment and the sub-key name
    // has to.
    std::optional<RuntimeKind> kind;
    RuntimeProvider provider;
};

inline constexpr size_t currentFamilyCount = 13;

// In the order they are searched.
const std::array<CurrentFamily, currentFamilyCount>& currentFamilies();

// The kind, key and provider of one registration, for the family rules (searched, favoured,
// collection JVM type).
RuntimeFamily familyRulesOf(const CurrentFamily& family, const std::wstring& subKeyName);

// The key that holds the home value, relative to the family key.
std::wstring installationKeyPath(const CurrentFamily& family, const std::wstring& subKeyName);

// The runtime homes a registered folder offers, in the order they are probed: its "jre\"
// folder (a Java 8 kit registered here has one), then the folder itself. Both end in "\".
std::array<std::wstring, 2> currentHomeFolders(const std::wstring& registeredHome);

// The runtime chosen among today's distributions in one registry view, for this launcher or,
// with `forPairedLauncher`, for its paired launcher: the machine's registrations, then the
// user's. The user's part of the registry is one in both views, so a per-user registration
// counts for the launcher whose architecture its JVM library has: this one's unless the library
// is an image of the paired launcher's architecture, the paired one's only when it is one. Where
// both architectures share the machine's view (ARM64 and x64), its registrations are told
// apart the same way. None when nothing there is usable.
std::optional<std::wstring> searchCurrentDistributions(bool use32BitView,
                                                       const RuntimeSearchSettings& settings,
                                                       bool forPairedLauncher = false,
                                                       JavaVersion* version = nullptr);
