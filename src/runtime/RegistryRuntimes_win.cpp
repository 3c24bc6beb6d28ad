#include "runtime/RegistryRuntimes.h"

#include "runtime/CandidateOrder.h"
#include "runtime/RegistryKeys.h"
#include "runtime/RuntimeProbe.h"

namespace {

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
    const UniqueRegistryKey familyKey =
        openRegistryKey(HKEY_LOCAL_MACHINE, familyPath, use32BitView);
    if (!familyKey)
        return;
    const bool favored = isFamilyFavored(family, settings.sources);
    const int probeType = collectionJvmType(family, settings.jvmType);
    for (const std::wstring& name : registrySubKeyNames(familyKey.get())) {
        // Bounds first: a runtime outside them is never looked at on disk.
        const JavaVersion version = JavaVersion::fromText(name, 0);
        if (!isWithinBounds(version, settings.minVersion, settings.maxVersion))
            continue;
        // Relative to the family key, in the view that key was opened in.
        const UniqueRegistryKey runtimeKey = openRegistryKey(familyKey.get(), name, use32BitView);
        if (!runtimeKey)
            continue;
        // Environment references are not expanded: installers write plain folders here.
        const std::wstring javaHome = readRegistryText(runtimeKey.get(), L"JavaHome");
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
    return chooseRuntimeHome(candidates, settings);
}

std::optional<std::wstring> chooseRuntimeHome(std::vector<JreCandidate>& candidates,
                                              const RuntimeSearchSettings& settings) {
    orderCandidates(candidates, orderSettings(settings));
    const JreCandidate* chosen = chooseCandidate(candidates, settings.preferredVersions);
    if (!chosen)
        return std::nullopt;
    return chosen->homeFolder;
}
