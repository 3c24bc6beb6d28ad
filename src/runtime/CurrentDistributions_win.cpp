// The search of today's distributions, for machines that have no runtime where Java 8 and
// older registered.
#include "runtime/CurrentDistributions.h"

#include "launcher/Launcher.h"
#include "runtime/RegistryKeys.h"
#include "runtime/RuntimeProbe.h"

#include <span>

namespace {

// Appends the usable runtimes one family registered under `hive`: within the bounds, with a
// home value and a JVM library. What is missing or unreadable (a key left behind by an
// uninstalled runtime among them) is passed over silently.
void collectCurrentRuntimes(HKEY hive, const CurrentFamily& family, bool use32BitView,
                            const RuntimeSearchSettings& settings,
                            std::vector<JreCandidate>& candidates) {
    const UniqueRegistryKey familyKey = openRegistryKey(hive, family.key, use32BitView);
    if (!familyKey)
        return;
    for (const std::wstring& name : registrySubKeyNames(familyKey.get())) {
        // The kind may come from the name, so the family rules are applied per registration.
        const RuntimeFamily rules = familyRulesOf(family, name);
        if (!isFamilySearched(rules, settings.sources))
            continue;
        const JavaVersion version = JavaVersion::fromText(name, 0);
        if (!isWithinBounds(version, settings.minVersion, settings.maxVersion))
            continue;
        const UniqueRegistryKey installKey =
            openRegistryKey(familyKey.get(), installationKeyPath(family, name), use32BitView);
        if (!installKey)
            continue;
        const std::wstring registeredHome = readRegistryText(installKey.get(), family.homeValue);
        if (registeredHome.empty())
            continue;
        const int probeType = collectionJvmType(rules, settings.jvmType);
        for (std::wstring& home : currentHomeFolders(registeredHome)) {
            const FoundJvmLibrary library = findJvmLibrary(home, probeType);
            if (library.path.empty())
                continue;
            candidates.push_back({version, std::move(home), library.isServer,
                                  isFamilyFavored(rules, settings.sources)});
            break;
        }
    }
}

} // namespace

std::optional<std::wstring> searchCurrentDistributions(bool use32BitView,
                                                       const RuntimeSearchSettings& settings) {
    // Per-user installs come after the machine's, so they only win a tie when they are newer
    // or preferred. HKEY_CURRENT_USER\Software is one key in both views, so the user's
    // registrations are searched once, with the native view.
    const HKEY hives[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};
    std::vector<JreCandidate> candidates;
    for (const HKEY hive : std::span(hives).first(use32BitView ? 1 : 2))
        for (const CurrentFamily& family : currentFamilies())
            collectCurrentRuntimes(hive, family, use32BitView, settings, candidates);
    return chooseRuntimeHome(candidates, settings);
}

bool Launcher::findCurrentDistribution(const RuntimeSearchSettings& search) {
    if (const auto home = searchCurrentDistributions(false, search)) {
        // Probed again with the real JVM type, as a classic registry find is.
        const FoundJvmLibrary library = findJvmLibrary(*home, jvmType);
        if (!library.path.empty()) {
            jvmLibraryPath = library.path;
            // A per-user registration shows in the native view whatever the runtime's
            // architecture: a 32-bit one is handed to the paired launcher all the same.
            checkPairedRuntime();
            return true;
        }
    }
    // Only the paired 32-bit launcher can run what the 32-bit view alone knows.
    if (!pairProduct.empty()) {
        if (const auto home = searchCurrentDistributions(true, search)) {
            const FoundJvmLibrary library = findJvmLibrary(*home, jvmType);
            if (!library.path.empty()) {
                jvmLibraryPath = library.path;
                runPairedProduct = true;
                return true;
            }
        }
    }
    return false;
}
