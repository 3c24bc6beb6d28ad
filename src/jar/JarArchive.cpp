#include "jar/JarArchive.h"

#include "jar/ZipEntries.h"

namespace {

// Far more than any main section needs, yet a manifest that lists a digest for each of many
// thousand entries still fits; a hostile size claim costs no more than this.
constexpr std::size_t kManifestSizeLimit = 16 << 20;

} // namespace

ManifestRead readArchiveManifest(std::span<const std::uint8_t> archive,
                                 std::vector<ManifestAttribute>& attributes) {
    std::vector<std::uint8_t> manifest;
    switch (readZipEntry(archive, "META-INF/MANIFEST.MF", kManifestSizeLimit, manifest)) {
    case ZipRead::found:
        return readManifestMainSection(manifest, attributes) ? ManifestRead::read
                                                             : ManifestRead::damaged;
    case ZipRead::missing:
        return ManifestRead::missing;
    case ZipRead::damaged:
        break;
    }
    return ManifestRead::damaged;
}
