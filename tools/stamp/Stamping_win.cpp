#include "Stamping.h"

#include "ConsoleOutput.h"
#include "FileBytes.h"
#include "IconFile.h"
#include "LauncherFile.h"
#include "ManifestCodePage.h"
#include "ManifestLevel.h"
#include "PeImage.h"
#include "SettingsFileText.h"
#include "StampTexts.h"
#include "settings/EmbeddedSettingsText.h"
#include "settings/MemorySettingsSource.h"

#include <algorithm>
#include <optional>

namespace {

constexpr WORD kNeutralLanguage = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

// The launcher's whole resource set as stamping leaves it, and the words for the message that
// says what changed.
struct StampPlan {
    std::vector<ResourceEntry> resources;
    std::optional<Subsystem> subsystem;
    std::vector<std::wstring> summary;

    void remove(LPCWSTR type, const ResourceName& name, WORD language) {
        const ResourceName typeName = ResourceName::of(type);
        std::erase_if(resources, [&](const ResourceEntry& entry) {
            return entry.type == typeName && entry.name == name && entry.language == language;
        });
    }
    void write(LPCWSTR type, const ResourceName& name, WORD language,
               std::vector<std::uint8_t> data) {
        remove(type, name, language);
        resources.push_back({ResourceName::of(type), name, language, std::move(data)});
    }
};

template <typename T> bool contains(const std::vector<T>& items, const T& item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

// The RT_ICON ids the groups refer to, in every language they have.
std::vector<std::uint16_t> imageIdsOf(const ResourceModule& resources,
                                      const std::vector<ResourceName>& groups) {
    std::vector<std::uint16_t> ids;
    for (const ResourceName& group : groups) {
        for (const WORD language : resources.languages(RT_GROUP_ICON, group)) {
            std::vector<IconGroupEntry> entries;
            const auto bytes = resources.bytes(RT_GROUP_ICON, group, language);
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
    std::vector<ResourceName> groups = resources.names(RT_GROUP_ICON);
    const ResourceName group = groups.empty() ? ResourceName{1, {}} : groups.front();
    const std::vector<WORD> groupLanguages = resources.languages(RT_GROUP_ICON, group);
    const WORD language = groupLanguages.empty() ? kNeutralLanguage : groupLanguages.front();
    const std::vector<std::uint16_t> oldIds = imageIdsOf(resources, {group});
    if (!groups.empty())
        groups.erase(groups.begin());
    const std::vector<std::uint16_t> sharedIds = imageIdsOf(resources, groups);

    std::vector<std::uint16_t> taken;
    for (const ResourceName& image : resources.names(RT_ICON))
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
        const ResourceName image{id, {}};
        for (const WORD imageLanguage : resources.languages(RT_ICON, image))
            plan.remove(RT_ICON, image, imageLanguage);
    }
    for (std::size_t i = 0; i < icon.images.size(); ++i)
        plan.write(RT_ICON, {ids[i], {}}, language,
                   {icon.images[i].data.begin(), icon.images[i].data.end()});
    for (const WORD other : groupLanguages)
        if (other != language)
            plan.remove(RT_GROUP_ICON, group, other);
    plan.write(RT_GROUP_ICON, group, language, buildIconGroup(icon.images, ids));
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
    const ResourceName name = ResourceName::of(embedded::settingsResourceName);
    for (const WORD language : launcher.resources.languages(RT_RCDATA, name))
        if (language != kNeutralLanguage)
            plan.remove(RT_RCDATA, name, language);
    plan.write(RT_RCDATA, name, kNeutralLanguage, encodeEmbeddedSettingsText(settings.text));

    // Read back by the launcher's own reader, to say what it will see.
    MemorySettingsSource source;
    source.load(settings.text);
    plan.summary.push_back(texts::stampedSettings(source.sections().size()));
    return true;
}

bool planExecutionLevel(const LauncherFile& launcher, const std::wstring& level, StampPlan& plan,
                        int& exitCode) {
    const ResourceName manifest{1, {}};
    const std::vector<WORD> languages = launcher.resources.languages(RT_MANIFEST, manifest);
    const std::string narrowLevel(level.begin(), level.end()); // checked to be ASCII
    for (const WORD language : languages) {
        const auto bytes = launcher.resources.bytes(RT_MANIFEST, manifest, language);
        const std::optional<std::string> changed =
            bytes ? withExecutionLevel(
                        {reinterpret_cast<const char*>(bytes->data()), bytes->size()}, narrowLevel)
                  : std::nullopt;
        if (!changed) {
            printError(texts::noExecutionLevelInManifest(launcher.path));
            exitCode = texts::kRefused;
            return false;
        }
        plan.write(RT_MANIFEST, manifest, language, {changed->begin(), changed->end()});
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
    const ResourceName manifestType = ResourceName::of(RT_MANIFEST);
    const ResourceName manifest{1, {}};
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
    const VersionFields old = readVersionFields(launcher.path);
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
    const WORD language = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    const ResourceName versionName{1, {}};
    for (const ResourceName& name : launcher.resources.names(RT_VERSION))
        for (const WORD other : launcher.resources.languages(RT_VERSION, name))
            if (!(name == versionName && other == language))
                plan.remove(RT_VERSION, name, other);
    plan.write(RT_VERSION, versionName, language, *resource);
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
            DeleteFileW(path_.c_str());
    }
    StagingFile(const StagingFile&) = delete;
    StagingFile& operator=(const StagingFile&) = delete;

    const std::wstring& path() const { return path_; }
    [[nodiscard]] bool replace(const std::wstring& target, std::uint32_t& error) {
        if (!MoveFileExW(path_.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            error = GetLastError();
            return false;
        }
        committed_ = true;
        return true;
    }

  private:
    std::wstring path_;
    bool committed_ = false;
};

// A resource update that is discarded unless it is finished. It starts from no resources at
// all and is given the whole set: the result then depends on the set alone, and removing a
// resource needs no removal call (Wine's resource writer ignores those).
class ResourceUpdate {
  public:
    explicit ResourceUpdate(const std::wstring& path)
        : handle_(BeginUpdateResourceW(path.c_str(), TRUE)) {}
    ~ResourceUpdate() {
        if (handle_)
            EndUpdateResourceW(handle_, TRUE);
    }
    ResourceUpdate(const ResourceUpdate&) = delete;
    ResourceUpdate& operator=(const ResourceUpdate&) = delete;

    explicit operator bool() const { return handle_ != nullptr; }
    [[nodiscard]] bool add(const ResourceEntry& entry) {
        return UpdateResourceW(handle_, entry.type.get(), entry.name.get(), entry.language,
                               const_cast<std::uint8_t*>(entry.data.data()),
                               static_cast<DWORD>(entry.data.size()));
    }
    [[nodiscard]] bool finish() {
        return EndUpdateResourceW(std::exchange(handle_, nullptr), FALSE);
    }

  private:
    HANDLE handle_;
};

// A signature covers the bytes stamping changes: a signed launcher is stamped only when the
// user asked for its signature to go. The table is dropped from the bytes the staging copy
// starts from; the checksum is recomputed with the stamped resources.
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

// Writes the plan into a copy of the launcher's bytes beside the target, settles what the
// resource writer leaves variable, recomputes the checksum, and puts the copy in place.
int writeStamped(const LauncherFile& launcher, const std::wstring& target, const StampPlan& plan) {
    StagingFile staging(target + L".stamping");
    std::uint32_t error = 0;
    if (!writeFileBytes(staging.path(), launcher.bytes, error)) {
        printError(texts::cannotWrite(target, error));
        return texts::kFileFailed;
    }
    {
        ResourceUpdate update(staging.path());
        if (!update) {
            printError(texts::cannotUpdateResources(target, GetLastError()));
            return texts::kFileFailed;
        }
        for (const ResourceEntry& entry : plan.resources) {
            if (!update.add(entry)) {
                printError(texts::cannotUpdateResources(target, GetLastError()));
                return texts::kFileFailed;
            }
        }
        if (!update.finish()) {
            printError(texts::cannotUpdateResources(target, GetLastError()));
            return texts::kFileFailed;
        }
    }

    std::vector<std::uint8_t> bytes;
    if (!readFileBytes(staging.path(), bytes, error)) {
        printError(texts::cannotRead(staging.path(), error));
        return texts::kFileFailed;
    }
    const std::optional<std::size_t> checksumField = checksumOffset(bytes);
    // The header field is set after the resource writer, which rewrites the headers.
    if (!clearResourceTimestamps(bytes) || !checksumField ||
        (plan.subsystem && !setImageSubsystem(bytes, *plan.subsystem))) {
        printError(texts::cannotUpdateResources(target, ERROR_INVALID_DATA));
        return texts::kFileFailed;
    }
    const std::uint32_t checksum = peChecksum(bytes, *checksumField);
    for (std::size_t i = 0; i < 4; ++i)
        bytes[*checksumField + i] = static_cast<std::uint8_t>(checksum >> (8 * i));
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
            plan.subsystem = options.subsystem;
            plan.summary.push_back(texts::stampedSubsystem(*options.subsystem));
        }
        // The file stays mapped until here; it must be closed before it can be replaced.
        launcher.resources.close();
        const std::wstring& target = options.out.empty() ? options.launcher : options.out;
        exitCode = writeStamped(launcher, target, plan);
        if (exitCode != texts::kDone)
            return exitCode;
        printOut(texts::stamped(target, joined(plan.summary)) + L"\n");
    }
    if (options.show)
        return showLauncher(options.out.empty() ? options.launcher : options.out);
    return texts::kDone;
}
