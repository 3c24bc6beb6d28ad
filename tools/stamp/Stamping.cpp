#include "Stamping.h"

#include "ByteReading.h"
#include "ConsoleOutput.h"
#include "FileBytes.h"
#include "IconFile.h"
#include "LauncherFile.h"
#include "ManifestCodePage.h"
#include "ManifestLevel.h"
#include "PeImage.h"
#include "ResourceSection.h"
#include "SettingsFileText.h"
#include "StampTexts.h"
#include "settings/EmbeddedSettingsText.h"
#include "settings/MemorySettingsSource.h"

#include <algorithm>
#include <optional>

namespace {

constexpr std::uint16_t kNeutralLanguage = 0;

// The launcher's whole resource set as stamping leaves it, and the words for the message that
// says what changed.
struct StampPlan {
    std::vector<ResourceEntry> resources;
    std::optional<Subsystem> subsystem;
    std::vector<std::wstring> summary;

    void remove(const ResourceName& type, const ResourceName& name, std::uint16_t language) {
        std::erase_if(resources, [&](const ResourceEntry& entry) {
            return entry.type == type && entry.name == name && entry.language == language;
        });
    }
    void write(const ResourceName& type, const ResourceName& name, std::uint16_t language,
               std::vector<std::uint8_t> data) {
        remove(type, name, language);
        resources.push_back({type, name, language, std::move(data)});
    }
};

template <typename T> bool contains(const std::vector<T>& items, const T& item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

// The kTypeIcon ids the groups refer to, in every language they have.
std::vector<std::uint16_t> imageIdsOf(const ResourceModule& resources,
                                      const std::vector<ResourceName>& groups) {
    std::vector<std::uint16_t> ids;
    for (const ResourceName& group : groups) {
        for (const std::uint16_t language : resources.languages(kTypeIconGroup, group)) {
            std::vector<IconGroupEntry> entries;
            const auto bytes = resources.bytes(kTypeIconGroup, group, language);
            if (bytes && parseIconGroup(*bytes, entries))
                for (const IconGroupEntry& entry : entries)
                    ids.push_back(entry.id);
        }
    }
    return ids;
}

// The first icon group is the one Explorer shows: it is replaced under its own name and
// language, and the images only it used are removed. Another group that shares an image
// keeps it.
bool planIcon(const LauncherFile& launcher, const std::wstring& iconPath, StampPlan& plan,
              int& exitCode) {
    std::vector<std::uint8_t> bytes;
    std::uint32_t error = 0;
    if (!readFileBytes(iconPath, bytes, error)) {
        printError(texts::cannotRead(iconPath, error));
        exitCode = texts::kFileFailed;
        return false;
    }
    const IconFile icon = parseIconFile(bytes);
    if (icon.problem != IconFileProblem::none) {
        printError(texts::notAnIcon(iconPath, icon.problem, icon.imageIndex));
        exitCode = texts::kRefused;
        return false;
    }

    const ResourceModule& resources = launcher.resources;
    std::vector<ResourceName> groups = resources.names(kTypeIconGroup);
    const ResourceName group = groups.empty() ? ResourceName(1) : groups.front();
    const std::vector<std::uint16_t> groupLanguages = resources.languages(kTypeIconGroup, group);
    const std::uint16_t language = groupLanguages.empty() ? kNeutralLanguage : groupLanguages.front();
    const std::vector<std::uint16_t> oldIds = imageIdsOf(resources, {group});
    if (!groups.empty())
        groups.erase(groups.begin());
    const std::vector<std::uint16_t> sharedIds = imageIdsOf(resources, groups);

    std::vector<std::uint16_t> taken;
    for (const ResourceName& image : resources.names(kTypeIcon))
        if (image.id && (!contains(oldIds, image.id) || contains(sharedIds, image.id)))
            taken.push_back(image.id);
    const std::vector<std::uint16_t> ids = freeIconIds(icon.images.size(), taken);
    if (ids.size() < icon.images.size()) {
        printError(texts::tooManyIconImages(iconPath));
        exitCode = texts::kRefused;
        return false;
    }

    for (const std::uint16_t id : oldIds) {
        if (contains(sharedIds, id))
            continue;
        const ResourceName image(id);
        for (const std::uint16_t imageLanguage : resources.languages(kTypeIcon, image))
            plan.remove(kTypeIcon, image, imageLanguage);
    }
    for (std::size_t i = 0; i < icon.images.size(); ++i)
        plan.write(kTypeIcon, ResourceName(ids[i]), language,
                   {icon.images[i].data.begin(), icon.images[i].data.end()});
    for (const std::uint16_t other : groupLanguages)
        if (other != language)
            plan.remove(kTypeIconGroup, group, other);
    plan.write(kTypeIconGroup, group, language, buildIconGroup(icon.images, ids));
    plan.summary.push_back(texts::stampedIcon(icon.images.size()));
    return true;
}

// The settings text goes in in the neutral language, the one resource of its name.
bool planSettings(const LauncherFile& launcher, const std::wstring& settingsPath, StampPlan& plan,
                  int& exitCode) {
    std::vector<std::uint8_t> bytes;
    std::uint32_t error = 0;
    if (!readFileBytes(settingsPath, bytes, error)) {
        printError(texts::cannotRead(settingsPath, error));
        exitCode = texts::kFileFailed;
        return false;
    }
    const SettingsFileText settings = settingsTextFromFile(bytes);
    if (settings.problem != SettingsFileProblem::none) {
        printError(texts::settingsDoNotParse(settingsPath, settings.problem, settings.line));
        exitCode = texts::kRefused;
        return false;
    }
    const ResourceName name = ResourceName(embedded::settingsResourceName);
    for (const std::uint16_t language : launcher.resources.languages(kTypeRcdata, name))
        if (language != kNeutralLanguage)
            plan.remove(kTypeRcdata, name, language);
    plan.write(kTypeRcdata, name, kNeutralLanguage, encodeEmbeddedSettingsText(settings.text));

    // Read back by the launcher's own reader, to say what it will see.
    MemorySettingsSource source;
    source.load(settings.text);
    plan.summary.push_back(texts::stampedSettings(source.sections().size()));
    return true;
}

bool planExecutionLevel(const LauncherFile& launcher, const std::wstring& level, StampPlan& plan,
                        int& exitCode) {
    const ResourceName manifest(1);
    const std::vector<std::uint16_t> languages = launcher.resources.languages(kTypeManifest, manifest);
    const std::string narrowLevel(level.begin(), level.end()); // checked to be ASCII
    for (const std::uint16_t language : languages) {
        const auto bytes = launcher.resources.bytes(kTypeManifest, manifest, language);
        const std::optional<std::string> changed =
            bytes ? withExecutionLevel(
                        {reinterpret_cast<const char*>(bytes->data()), bytes->size()}, narrowLevel)
                  : std::nullopt;
        if (!changed) {
            printError(texts::noExecutionLevelInManifest(launcher.path));
            exitCode = texts::kRefused;
            return false;
        }
        plan.write(kTypeManifest, manifest, language, {changed->begin(), changed->end()});
    }
    if (languages.empty()) {
        printError(texts::noExecutionLevelInManifest(launcher.path));
        exitCode = texts::kRefused;
        return false;
    }
    plan.summary.push_back(texts::stampedExecutionLevel(level));
    return true;
}

// Works on the manifest as the plan has it, so that it follows a new execution level; every
// language of the manifest is changed, or nothing.
bool planCodePage(const LauncherFile& launcher, CodePage codePage, StampPlan& plan,
                  int& exitCode) {
    const ResourceName manifestType = ResourceName(kTypeManifest);
    const ResourceName manifest(1);
    std::vector<std::pair<ResourceEntry*, std::string>> changes;
    for (ResourceEntry& entry : plan.resources) {
        if (!(entry.type == manifestType && entry.name == manifest))
            continue;
        std::optional<std::string> changed = withCodePage(
            {reinterpret_cast<const char*>(entry.data.data()), entry.data.size()}, codePage);
        if (!changed) {
            changes.clear();
            break;
        }
        changes.emplace_back(&entry, std::move(*changed));
    }
    if (changes.empty()) {
        printError(texts::noCodePageInManifest(launcher.path));
        exitCode = texts::kRefused;
        return false;
    }
    for (auto& [entry, text] : changes)
        entry->data.assign(text.begin(), text.end());
    plan.summary.push_back(texts::stampedCodePage(codePage));
    return true;
}

// The given fields over those the launcher carries; written as the one version resource.
bool planVersion(const LauncherFile& launcher, const StampOptions& options, StampPlan& plan,
                 int& exitCode) {
    const VersionFields old = readVersionFields(launcher.resources);
    VersionFields fields;
    fields.fileVersion = options.fileVersion.value_or(old.fileVersion);
    fields.productVersion = options.productVersion.value_or(old.productVersion);
    for (const wchar_t* name : kVersionStringNames) {
        const auto findIn = [&](const auto& strings) {
            return std::find_if(strings.begin(), strings.end(),
                                [&](const auto& pair) { return pair.first == name; });
        };
        if (const auto given = findIn(options.versionStrings);
            given != options.versionStrings.end())
            fields.strings.emplace_back(name, given->second);
        else if (const auto kept = findIn(old.strings); kept != old.strings.end())
            fields.strings.emplace_back(name, kept->second);
    }
    const auto resource = buildVersionResource(fields);
    if (!resource) {
        printError(texts::versionTooLong());
        exitCode = texts::kRefused;
        return false;
    }
    const std::uint16_t language = 0x0409;
    const ResourceName versionName(1);
    for (const ResourceName& name : launcher.resources.names(kTypeVersion))
        for (const std::uint16_t other : launcher.resources.languages(kTypeVersion, name))
            if (!(name == versionName && other == language))
                plan.remove(kTypeVersion, name, other);
    plan.write(kTypeVersion, versionName, language, *resource);
    plan.summary.push_back(texts::stampedVersion());
    return true;
}

// A file beside the target that becomes the target only when everything was written; it is
// deleted otherwise, so a failure leaves the target as it was.
class StagingFile {
  public:
    explicit StagingFile(std::wstring path) : path_(std::move(path)) {}
    ~StagingFile() {
        if (!committed_)
            removeFile(path_);
    }
    StagingFile(const StagingFile&) = delete;
    StagingFile& operator=(const StagingFile&) = delete;

    const std::wstring& path() const { return path_; }
    [[nodiscard]] bool replace(const std::wstring& target, std::uint32_t& error) {
        committed_ = replaceFile(path_, target, error);
        return committed_;
    }

  private:
    std::wstring path_;
    bool committed_ = false;
};

// A signature covers the bytes stamping changes: a signed launcher is stamped only when the
// user asked for its signature to go. The table is dropped from the bytes the resources are
// then rebuilt in; the checksum is recomputed with the stamped resources.
bool planSignature(LauncherFile& launcher, bool removeSignature, StampPlan& plan,
                   int& exitCode) {
    const bool isSigned = certificateTable(launcher.bytes).has_value();
    if (isSigned && !removeSignature) {
        printError(texts::signedLauncher(launcher.path));
        exitCode = texts::kRefused;
        return false;
    }
    if (!removeSignature)
        return true;
    if (isSigned && !removeCertificateTable(launcher.bytes)) {
        printError(texts::signatureNotRemovable(launcher.path));
        exitCode = texts::kRefused;
        return false;
    }
    plan.summary.push_back(isSigned ? texts::removedSignature() : texts::noSignatureToRemove());
    return true;
}

// The launcher's bytes with the plan's resources and header fields, and its checksum
// recomputed; false after the message when the image cannot take them.
bool stampedImage(const LauncherFile& launcher, const StampPlan& plan,
                  std::vector<std::uint8_t>& bytes) {
    ResourceSectionResult rebuilt = withResources(launcher.bytes, plan.resources);
    if (rebuilt.problem != ResourceSectionProblem::none) {
        printError(texts::cannotRebuildResources(launcher.path, rebuilt.problem, rebuilt.section));
        return false;
    }
    bytes = std::move(rebuilt.image);
    if (plan.subsystem && !setImageSubsystem(bytes, *plan.subsystem)) {
        printError(texts::cannotRebuildResources(launcher.path,
                                                 ResourceSectionProblem::damagedHeaders, {}));
        return false;
    }
    const std::optional<std::size_t> checksumField = checksumOffset(bytes);
    if (!checksumField) {
        printError(texts::cannotRebuildResources(launcher.path,
                                                 ResourceSectionProblem::damagedHeaders, {}));
        return false;
    }
    writeLe32(bytes, *checksumField, peChecksum(bytes, *checksumField));
    return true;
}

// Everything is computed before the first byte is written; the copy beside the target takes
// its place only once it is whole.
int writeStamped(const std::wstring& target, const std::vector<std::uint8_t>& bytes) {
    StagingFile staging(target + L".stamping");
    std::uint32_t error = 0;
    if (!writeFileBytes(staging.path(), bytes, error) || !staging.replace(target, error)) {
        printError(texts::cannotWrite(target, error));
        return texts::kFileFailed;
    }
    return texts::kDone;
}

std::wstring joined(const std::vector<std::wstring>& parts) {
    std::wstring text;
    for (const std::wstring& part : parts)
        text += (text.empty() ? L"" : L", ") + part;
    return text;
}

} // namespace

int stampLauncher(const StampOptions& options) {
    int exitCode = texts::kDone;
    StampPlan plan;
    {
        LauncherFile launcher;
        if (!openLauncherFile(options.launcher, launcher, exitCode))
            return exitCode;
        plan.resources = launcher.resources.all();
        // Every input is read and checked before anything is written.
        if (!planSignature(launcher, options.removeSignature, plan, exitCode) ||
            (!options.icon.empty() && !planIcon(launcher, options.icon, plan, exitCode)) ||
            (!options.settings.empty() &&
             !planSettings(launcher, options.settings, plan, exitCode)) ||
            (!options.executionLevel.empty() &&
             !planExecutionLevel(launcher, options.executionLevel, plan, exitCode)) ||
            (options.codePage && !planCodePage(launcher, *options.codePage, plan, exitCode)) ||
            (options.stampsVersion() && !planVersion(launcher, options, plan, exitCode)))
            return exitCode;
        if (options.subsystem) {
            plan.subsystem = *options.subsystem;
            plan.summary.push_back(texts::stampedSubsystem(*options.subsystem));
        }
        std::vector<std::uint8_t> bytes;
        if (!stampedImage(launcher, plan, bytes))
            return texts::kRefused;
        const std::wstring& target = options.out.empty() ? options.launcher : options.out;
        exitCode = writeStamped(target, bytes);
        if (exitCode != texts::kDone)
            return exitCode;
        printOut(texts::stamped(target, joined(plan.summary)) + L"\n");
    }
    if (options.show)
        return showLauncher(options.out.empty() ? options.launcher : options.out);
    return texts::kDone;
}
