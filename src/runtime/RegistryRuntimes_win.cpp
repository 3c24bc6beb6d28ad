#include "runtime/RegistryRuntimes.h"

#include "jvm/MappedImage.h"
#include "launcher/Architecture.h"
#include "launcher/LaunchTrace.h"
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
                             std::vector<JreCandidate>& candidates, bool forPairedLauncher) {
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
        const BoundsCheck bounds = checkBounds(version, settings.minVersion, settings.maxVersion);
        if (bounds != BoundsCheck::within) {
            traceRegisteredRuntime("registry", family, name, version, refusalOf(bounds));
            continue;
        }
        // Relative to the family key, in the view that key was opened in.
        const UniqueRegistryKey runtimeKey = openRegistryKey(familyKey.get(), name, use32BitView);
        // Environment references are not expanded: installers write plain folders here.
        const std::wstring javaHome =
            runtimeKey ? readRegistryText(runtimeKey.get(), L"JavaHome") : std::wstring();
        if (javaHome.empty()) {
            traceRegisteredRuntime("registry", family, name, version, "no-java-home");
            continue;
        }
        std::wstring home = homeFolderFromJavaHome(javaHome, family);
        const FoundJvmLibrary library = findJvmLibrary(home, probeType);
        bool kept = !library.path.empty();
        const char* verdict = kept ? "kept" : "no-jvm-library";
        // In a view both launchers share, a library of the other one's architecture is its.
        if constexpr (architecture::kRules.sharesRegistryView()) {
            if (kept && !belongsToSearch(imageMachine(library.path), forPairedLauncher,
                                         architecture::kRules)) {
                kept = false;
                verdict = "other-architecture";
            }
        }
        traceRegisteredRuntime("registry", family, name, version, verdict, home, &library,
                               favored);
        if (!kept)
            continue;
        candidates.push_back({version, std::move(home), library.isServer, favored});
    }
}

std::optional<std::wstring> searchRegistry(bool use32BitView,
                                           const RuntimeSearchSettings& settings,
                                           bool forPairedLauncher, JavaVersion* version) {
    traceSearch("registry", use32BitView);
    std::vector<JreCandidate> candidates;
    for (const RuntimeFamily& family : runtimeFamilies()) {
        const FamilyRule rule = familyRule(family, settings.sources);
        traceFamily(family, rule);
        if (rule == FamilyRule::searched)
            collectRegistryRuntimes(family, use32BitView, settings, candidates,
                                    forPairedLauncher);
    }
    return chooseRuntimeHome(candidates, settings, version);
}

std::optional<std::wstring> chooseRuntimeHome(std::vector<JreCandidate>& candidates,
                                              const RuntimeSearchSettings& settings,
                                              JavaVersion* version) {
    orderCandidates(candidates, orderSettings(settings));
    traceCandidateOrder(candidates);
    const CandidatePick pick = pickCandidate(candidates, settings.preferredVersions);
    tracePick(pick);
    if (!pick.chosen)
        return std::nullopt;
    if (version)
        *version = pick.chosen->version;
    return pick.chosen->homeFolder;
}
