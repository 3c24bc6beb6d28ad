#include "jar/JarManifestFile.h"

#include "jvm/MappedImage.h"

JarFileRead readJarFileManifest(const std::wstring& path,
                                std::vector<ManifestAttribute>& attributes, DWORD& error) {
    MappedImage file;
    SetLastError(ERROR_SUCCESS);
    if (!file.open(path)) {
        error = GetLastError();
        // An empty file opens but cannot be mapped without an error of its own: it is no jar.
        return error == ERROR_SUCCESS || error == ERROR_FILE_INVALID ? JarFileRead::damaged
                                                                      : JarFileRead::unreadable;
    }
    // Only the end record, the central directory and the manifest's bytes are touched, so
    // only their pages are read from disk, however large the jar or the launcher is.
    switch (readArchiveManifest(file.bytes(), attributes)) {
    case ManifestRead::read:
        return JarFileRead::read;
    case ManifestRead::missing:
        return JarFileRead::missingManifest;
    case ManifestRead::damaged:
        break;
    }
    return JarFileRead::damaged;
}
