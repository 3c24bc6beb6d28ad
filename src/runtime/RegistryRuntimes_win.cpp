#include "runtime/RegistryRuntimes.h"

#include "launcher/UniqueHandle.h"
#include "runtime/CandidateOrder.h"
#include "runtime/RegistryText.h"
#include "runtime/RuntimeProbe.h"

namespace {

// Registry key names are at most 255 characters.
constexpr DWORD maxKeyNameLength = 256;

UniqueRegistryKey openKey(HKEY parent, const std::wstring& path, bool use32BitView) {
    const REGSAM access = KEY_READ | (use32BitView ? KEY_WOW64_32KEY : 0);
    HKEY opened = nullptr;
    // The out value is not a key when the call fails: only a success is owned.
    if (RegOpenKeyExW(parent, path.c_str(), 0, access, &opened) != ERROR_SUCCESS)
        return {};
    return UniqueRegistryKey(opened);
}

std::vector<std::wstring> subKeyNames(HKEY key) {
    std::vector<std::wstring> names;
    wchar_t name[maxKeyNameLength];
    for (DWORD index = 0;; ++index) {
        DWORD length = maxKeyNameLength;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

// The whole value as text, whatever its stored type or length, never read past what the
// registry returned (the data need not end in a NUL). Empty when it is missing.
std::wstring readTextValue(HKEY key, const wchar_t* valueName) {
    DWORD size = 0;
    if (RegQueryValueExW(key, valueName, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return {};
    std::wstring buffer;
    // A value that keeps growing between the calls is given up on after a few tries.
    for (int attempt = 0; attempt < 4; ++attempt) {
        // Rounded up to whole characters; the value may have grown since the size was read.
        buffer.assign(size / sizeof(wchar_t) + 1, L'\0');
        DWORD returned = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        const LONG status = RegQueryValueExW(key, valueName, nullptr, nullptr,
                                             reinterpret_cast<BYTE*>(buffer.data()), &returned);
        if (status == ERROR_MORE_DATA) {
            size = returned;
            continue;
        }
        if (status != ERROR_SUCCESS)
            return {};
        return textFromRegistryData(buffer.data(), returned / sizeof(wchar_t));
    }
    return {};
}

CandidateOrderSettings orderSettings(const RuntimeSearchSettings& settings) {
    return {settings.sources.otherSourceAllowed, settings.jvmType};
}

} // namespace

void collectRegistryRuntimes(const RuntimeFamily& family, bool use32BitView,
                             const RuntimeSearchSettings& settings,
                             std::vector<JreCandidate>& candidates) {
    // Opened without the key text's trailing backslash, which not every registry
    // implementation accepts at the end of a path.
    std::wstring familyPath = family.key;
    if (!familyPath.empty() && familyPath.back() == L'\\')
        familyPath.pop_back();
    const UniqueRegistryKey familyKey = openKey(HKEY_LOCAL_MACHINE, familyPath, use32BitView);
    if (!familyKey)
        return;
    const bool favored = isFamilyFavored(family, settings.sources);
    const int probeType = collectionJvmType(family, settings.jvmType);
    for (const std::wstring& name : subKeyNames(familyKey.get())) {
        // Bounds first: a runtime outside them is never looked at on disk.
        const JavaVersion version = JavaVersion::fromText(name, 0);
        if (!isWithinBounds(version, settings.minVersion, settings.maxVersion))
            continue;
        // Relative to the family key, in the view that key was opened in.
        const UniqueRegistryKey runtimeKey = openKey(familyKey.get(), name, use32BitView);
        if (!runtimeKey)
            continue;
        // Environment references are not expanded: installers write plain folders here.
        const std::wstring javaHome = readTextValue(runtimeKey.get(), L"JavaHome");
        if (javaHome.empty())
            continue;
        std::wstring home = homeFolderFromJavaHome(javaHome, family);
        const FoundJvmLibrary library = findJvmLibrary(home, probeType);
        if (library.path.empty())
            continue;
        candidates.push_back({version, std::move(home), library.isServer, favored});
    }
}

std::optional<std::wstring> searchRegistry(bool use32BitView,
                                           const RuntimeSearchSettings& settings) {
    std::vector<JreCandidate> candidates;
    for (const RuntimeFamily& family : runtimeFamilies()) {
        if (isFamilySearched(family, settings.sources))
            collectRegistryRuntimes(family, use32BitView, settings, candidates);
    }
    orderCandidates(candidates, orderSettings(settings));
    const JreCandidate* chosen = chooseCandidate(candidates, settings.preferredVersions);
    if (!chosen)
        return std::nullopt;
    return chosen->homeFolder;
}
