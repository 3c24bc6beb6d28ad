// A launcher file opened for stamping or showing: its bytes, checked to be a launcher of ours,
// and its resources.
#pragma once

#include "ResourceModule.h"
#include "VersionResource.h"
#include "runtime/RuntimeArchitecture.h"

#include <cstdint>
#include <string>
#include <vector>

struct LauncherFile {
    std::wstring path;
    std::vector<std::uint8_t> bytes;
    ResourceModule resources;
    LauncherBuild build = LauncherBuild::x64;
    std::uint16_t format = 0;
};

// Reads and checks the file; prints the refusal or failure and returns false with the exit code.
[[nodiscard]] bool openLauncherFile(const std::wstring& path, LauncherFile& launcher,
                                    int& exitCode);

// The version fields the launcher carries, from the resource the Windows version functions
// read (version resource 1, else the first); all empty and zero when it has none.
[[nodiscard]] VersionFields readVersionFields(const ResourceModule& resources);
