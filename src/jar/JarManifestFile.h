// Reading the manifest of a jar file on disk.
#pragma once

#include "jar/JarArchive.h"

#include <windows.h>

#include <string>
#include <vector>

enum class JarFileRead { read, unreadable, damaged, missingManifest };

// Maps the file for as long as it takes; `error` is the Windows error of a file that cannot be
// opened or mapped (`unreadable`).
[[nodiscard]] JarFileRead readJarFileManifest(const std::wstring& path,
                                              std::vector<ManifestAttribute>& attributes,
                                              DWORD& error);
