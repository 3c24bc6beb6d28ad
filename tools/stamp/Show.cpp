#include "Stamping.h"

#include "ConsoleOutput.h"
#include "IconFile.h"
#include "LauncherFile.h"
#include "ManifestCodePage.h"
#include "ManifestLevel.h"
#include "PeImage.h"
#include "StampTexts.h"
#include "Subsystem.h"
#include "settings/EmbeddedSettingsText.h"

#include <optional>

namespace {

std::wstring hex32(std::uint32_t value) {
    std::wstring text = L"0x";
    for (int shift = 28; shift >= 0; shift -= 4)
        text += L"0123456789ABCDEF"[(value >> shift) & 0xF];
    return text;
}

std::wstring versionText(const VersionNumber& version) {
    return std::to_wstring(version[0]) + L"." + std::to_wstring(version[1]) + L"." +
           std::to_wstring(version[2]) + L"." + std::to_wstring(version[3]);
}

std::wstring pixels(std::uint8_t size) {
    return std::to_wstring(size == 0 ? 256 : size);
}

std::wstring checksumLine(const std::vector<std::uint8_t>& bytes) {
    const std::optional<std::size_t> field = checksumOffset(bytes);
    if (!field)
        return L"  Checksum: none\n";
    const std::uint32_t stored = static_cast<std::uint32_t>(bytes[*field]) |
                                 static_cast<std::uint32_t>(bytes[*field + 1]) << 8 |
                                 static_cast<std::uint32_t>(bytes[*field + 2]) << 16 |
                                 static_cast<std::uint32_t>(bytes[*field + 3]) << 24;
    const std::uint32_t computed = peChecksum(bytes, *field);
    return L"  Checksum: " + hex32(stored) +
           (stored == computed ? L", matches the contents\n"
                               : L", the contents give " + hex32(computed) + L"\n");
}

std::wstring subsystemLine(const std::vector<std::uint8_t>& bytes) {
    const std::optional<Subsystem> subsystem = imageSubsystem(bytes);
    return L"  Subsystem: " + std::wstring(subsystem ? subsystemName(*subsystem) : L"other") +
           L"\n";
}

std::wstring signatureLine(const std::vector<std::uint8_t>& bytes) {
    const std::optional<CertificateTable> table = certificateTable(bytes);
    if (!table)
        return L"  Signature: none, not signed\n";
    return L"  Signature: signed, certificate table of " + std::to_wstring(table->size) +
           L" bytes at file offset " + hex32(table->offset) +
           L" (stamping needs --remove-signature)\n";
}

std::wstring iconLines(const ResourceModule& resources) {
    const std::vector<ResourceName> groups = resources.names(kTypeIconGroup);
    if (groups.empty())
        return L"  Icon: none\n";
    std::vector<IconGroupEntry> entries;
    const auto bytes = resources.bytes(kTypeIconGroup, groups.front());
    if (!bytes || !parseIconGroup(*bytes, entries))
        return L"  Icon: group " + groups.front().display() + L", damaged\n";
    std::wstring text = L"  Icon: group " + groups.front().display() + L", " +
                        texts::counted(entries.size(), L"image") + L"\n";
    for (const IconGroupEntry& entry : entries)
        text += L"    " + pixels(entry.width) + L"x" + pixels(entry.height) + L", " +
                std::to_wstring(entry.bitCount) + L" bits, " + std::to_wstring(entry.size) +
                L" bytes (RT_ICON " + std::to_wstring(entry.id) + L")\n";
    return text;
}

std::wstring versionLines(const LauncherFile& launcher) {
    if (launcher.resources.names(kTypeVersion).empty())
        return L"  Version: none\n";
    const VersionFields fields = readVersionFields(launcher.resources);
    std::wstring text = L"  Version: file " + versionText(fields.fileVersion) + L", product " +
                        versionText(fields.productVersion) + L"\n";
    for (const auto& [name, value] : fields.strings)
        text += L"    " + name + L": " + value + L"\n";
    return text;
}

std::wstring executionLevelLine(const ResourceModule& resources) {
    const auto manifest = resources.bytes(kTypeManifest, ResourceName(1));
    if (!manifest)
        return L"  Execution level: no manifest\n";
    const std::string_view text(reinterpret_cast<const char*>(manifest->data()), manifest->size());
    const std::optional<TextRange> level = findExecutionLevel(text);
    if (!level)
        return L"  Execution level: not requested\n";
    const std::string_view value = text.substr(level->offset, level->length);
    return L"  Execution level: " + std::wstring(value.begin(), value.end()) + L"\n";
}

// What the launcher's process runs in: the manifest's activeCodePage, or the ANSI code page of
// whatever system it runs on.
std::wstring codePageLine(const ResourceModule& resources) {
    const auto manifest = resources.bytes(kTypeManifest, ResourceName(1));
    const std::optional<std::string> codePage =
        manifest ? activeCodePage({reinterpret_cast<const char*>(manifest->data()),
                                   manifest->size()})
                 : std::nullopt;
    if (!codePage)
        return L"  Code page: the system's ANSI code page\n";
    return L"  Code page: " + std::wstring(codePage->begin(), codePage->end()) + L"\n";
}

std::wstring settingsLines(const ResourceModule& resources) {
    const auto bytes = resources.bytes(kTypeRcdata, ResourceName(embedded::settingsResourceName));
    if (!bytes)
        return L"  Settings: none\n";
    const std::wstring settings = decodeEmbeddedSettingsText(*bytes);
    if (settings.empty())
        return L"  Settings: empty or damaged\n";
    std::wstring text = L"  Settings:\n    ";
    for (std::size_t i = 0; i < settings.size(); ++i) {
        if (settings.compare(i, 2, L"\r\n") == 0) {
            if (i + 2 < settings.size())
                text += L"\n    ";
            ++i;
            continue;
        }
        text += settings[i];
    }
    return text + L"\n";
}

} // namespace

int showLauncher(const std::wstring& path) {
    LauncherFile launcher;
    int exitCode = 0;
    if (!openLauncherFile(path, launcher, exitCode))
        return exitCode;
    printOut(path + L"\n  Launcher: " + texts::buildName(launcher.build) +
             (rulesOf(launcher.build).ownImageIs64Bit ? L" (64-bit)" : L" (32-bit)") +
             L", resource format " + std::to_wstring(launcher.format) + L"\n" +
             subsystemLine(launcher.bytes) + checksumLine(launcher.bytes) + signatureLine(launcher.bytes) + iconLines(launcher.resources) +
             versionLines(launcher) + executionLevelLine(launcher.resources) +
             codePageLine(launcher.resources) + settingsLines(launcher.resources));
    return exitCode;
}
