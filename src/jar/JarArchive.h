// The manifest of a jar held in memory, as far as the launch needs it.
#pragma once

#include "jar/JarManifest.h"

#include <cstdint>
#include <span>
#include <vector>

enum class ManifestRead { read, damaged, missing };

// The main section of META-INF/MANIFEST.MF: `missing` when the archive has no such entry,
// `damaged` when the archive or the manifest cannot be read.
[[nodiscard]] ManifestRead readArchiveManifest(std::span<const std::uint8_t> archive,
                                               std::vector<ManifestAttribute>& attributes);
