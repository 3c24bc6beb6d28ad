// The runtimes installers registered under HKEY_LOCAL_MACHINE, in either registry view.
#pragma once

#include "runtime/JavaVersion.h"
#include "runtime/JreCandidate.h"
#include "runtime/RuntimeFamilies.h"

#include <optional>
#include <string>
#include <vector>

struct RuntimeSearchSettings {
    JavaVersion minVersion{};
    JavaVersion maxVersion{};
    int jvmType = 0;
    RuntimeSourceSettings sources;
    std::vector<std::wstring> preferredVersions;
};

// Appends the usable runtimes of one family: within the version bounds, with a "JavaHome" and
// a JVM library. Keys and values that are missing or unreadable are passed over silently.
// Where this launcher and its paired launcher share the view (ARM64 and x64), only the
// libraries of the launcher searched for (`forPairedLauncher`) are taken.
void collectRegistryRuntimes(const RuntimeFamily& family, bool use32BitView,
                             const RuntimeSearchSettings& settings,
                             std::vector<JreCandidate>& candidates,
                             bool forPairedLauncher = false);

// Every searched family of one view, ordered and chosen from: the chosen runtime's home
// folder, or none when no family has a usable runtime. `version`, when given, receives the
// version under which the chosen runtime is registered.
std::optional<std::wstring> searchRegistry(bool use32BitView,
                                           const RuntimeSearchSettings& settings,
                                           bool forPairedLauncher = false,
                                           JavaVersion* version = nullptr);

// Orders the collected candidates and applies the preferred versions: the chosen runtime's
// home folder (and its version), or none when there are no candidates.
std::optional<std::wstring> chooseRuntimeHome(std::vector<JreCandidate>& candidates,
                                              const RuntimeSearchSettings& settings,
                                              JavaVersion* version = nullptr);
