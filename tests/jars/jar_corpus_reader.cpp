// Prints what the launcher's jar reader takes from each jar named on standard input, one path
// a line, in the form JarAttributes.java prints what java.util.jar.JarFile takes from it, so
// that check-corpus.py can compare the two jar by jar.
#include "jar/JarArchive.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kAttributes[] = {"Main-Class",           "Add-Opens",
                                       "Add-Exports",          "Enable-Native-Access",
                                       "Launcher-Agent-Class", "SplashScreen-Image"};

// Printable ASCII as it is, every other UTF-16 unit (and the backslash) as \uXXXX.
std::string escaped(const std::wstring& value) {
    std::string text;
    for (const wchar_t unit : value) {
        if (unit >= 0x20 && unit < 0x7F && unit != L'\\') {
            text += static_cast<char>(unit);
            continue;
        }
        char code[8];
        std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(unit) & 0xFFFF);
        text += code;
    }
    return text;
}

// The whole file mapped, as the launcher maps it: a sparse jar of several GiB costs nothing.
std::string describe(const std::string& path) {
    const int file = open(path.c_str(), O_RDONLY);
    if (file < 0)
        return "unreadable\n";
    struct stat status {};
    std::string text;
    if (fstat(file, &status) != 0 || status.st_size == 0) {
        close(file);
        return "damaged\n";
    }
    const auto size = static_cast<std::size_t>(status.st_size);
    void* bytes = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file, 0);
    close(file);
    if (bytes == MAP_FAILED)
        return "unreadable\n";
    std::vector<ManifestAttribute> attributes;
    switch (readArchiveManifest({static_cast<const std::uint8_t*>(bytes), size}, attributes)) {
    case ManifestRead::read:
        text = "manifest\n";
        for (const char* name : kAttributes)
            if (const std::wstring* value = manifestValue(attributes, name))
                text += std::string(name) + ": " + escaped(*value) + "\n";
        break;
    case ManifestRead::missing:
        text = "no-manifest\n";
        break;
    case ManifestRead::damaged:
        text = "damaged\n";
        break;
    }
    munmap(bytes, size);
    return text;
}

} // namespace

int main() {
    std::string path;
    while (std::getline(std::cin, path))
        std::cout << "jar " << path << "\n" << describe(path);
    return 0;
}
