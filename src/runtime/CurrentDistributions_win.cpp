// The search of today's distributions, for machines that have no runtime where Java 8 and
// older registered.
#include "runtime/CurrentDistributions.h"

#include "jvm/MappedImage.h"
#include "launcher/Architecture.h"
#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"
#include "runtime/RegistryKeys.h"
#include "runtime/RuntimeProbe.h"


namespace {

// Which registrations a search takes by their JVM library's architecture: all of them, or
// those of this launcher's or of its paired launcher's.
enum class ArchitectureFilter { none, ownLauncher, pairedLauncher };

bool isFiltered(ArchitectureFilter filter, const std::wstring& library) {
    return filter != ArchitectureFilter::none &&
           !belongsToSearch(imageMachine(library), filter == ArchitectureFilter::pairedLauncher,
                            architecture::kRules);
}

// Appends the usable runtimes one family registered under `hive`: within the bounds, with a
// home value and a JVM library. What is missing or unreadable (a key left behind by an
// uninstalled runtime among them) is passed over silently.
void collectCurrentRuntimes(HKEY hive, const CurrentFamily& family, bool use32BitView,
                            ArchitectureFilter architectures, const RuntimeSearchSettings& settings,
                            std::vector<JreCandidate>& candidates) {
    const UniqueRegistryKey familyKey = openRegistryKey(hive, family.key, use32BitView);
    if (!familyKey)
        return;
    const char* from = hive == HKEY_CURRENT_USER ? "current-user" : "current";
    for (const std::wstring& name : registrySubKeyNames(familyKey.get())) {
        // The kind may come from the name, so the family rules are applied per registration.
        const RuntimeFamily rules = familyRulesOf(family, name);
        const JavaVersion version = JavaVersion::fromText(name, 0);
        if (const FamilyRule rule = familyRule(rules, settings.sources); rule != FamilyRule::searched) {
            traceRegisteredRuntime(from, rules, name, version, refusalOf(rule));
            continue;
        }
        const BoundsCheck bounds = checkBounds(version, settings.minVersion, settings.maxVersion);
        if (bounds != BoundsCheck::within) {
            traceRegisteredRuntime(from, rules, name, version, refusalOf(bounds));
            continue;
        }
        const UniqueRegistryKey installKey =
            openRegistryKey(familyKey.get(), installationKeyPath(family, name), use32BitView);
        const std::wstring registeredHome =
            installKey ? readRegistryText(installKey.get(), family.homeValue) : std::wstring();
        if (registeredHome.empty()) {
            traceRegisteredRuntime(from, rules, name, version, "no-java-home");
            continue;
        }
        const int probeType = collectionJvmType(rules, settings.jvmType);
        const bool favored = isFamilyFavored(rules, settings.sources);
        bool libraryFound = false;
        for (std::wstring& home : currentHomeFolders(registeredHome)) {
            const FoundJvmLibrary library = findJvmLibrary(home, probeType);
            if (library.path.empty())
                continue;
            libraryFound = true;
            // A registration of the other launcher's architecture belongs to the other
            // search: refused here, not missing.
            if (isFiltered(architectures, library.path)) {
                traceRegisteredRuntime(from, rules, name, version, "other-architecture", home,
                                       &library, favored);
                break;
            }
            traceRegisteredRuntime(from, rules, name, version, "kept", home, &library, favored);
            candidates.push_back({version, std::move(home), library.isServer, favored});
            break;
        }
        if (!libraryFound)
            traceRegisteredRuntime(from, rules, name, version, "no-jvm-library", registeredHome);
    }
}

} // namespace

std::optional<std::wstring> searchCurrentDistributions(bool use32BitView,
                                                       const RuntimeSearchSettings& settings,
                                                       bool forPairedLauncher, JavaVersion* version) {
    // Per-user registrations are shared by both views, and so is the machine's view when the
    // two launchers' architectures share it: there each registration is told apart by its
    // library. Per-user installs come after the machine's, so they only win a tie when they
    // are newer or preferred.
    const ArchitectureFilter user = forPairedLauncher ? ArchitectureFilter::pairedLauncher
                                                      : ArchitectureFilter::ownLauncher;
    const ArchitectureFilter machine =
        architecture::kRules.sharesRegistryView() ? user : ArchitectureFilter::none;
    traceSearch("current", use32BitView);
    std::vector<JreCandidate> candidates;
    for (const CurrentFamily& family : currentFamilies())
        collectCurrentRuntimes(HKEY_LOCAL_MACHINE, family, use32BitView, machine, settings,
                               candidates);
    for (const CurrentFamily& family : currentFamilies())
        collectCurrentRuntimes(HKEY_CURRENT_USER, family, use32BitView, user, settings, candidates);
    return chooseRuntimeHome(candidates, settings, version);
}

bool Launcher::findCurrentDistribution(const RuntimeSearchSettings& search) {
    if (const auto home = searchCurrentDistributions(architecture::kOwnRegistryViewIs32Bit, search,
                                                     false, &runtimeVersion)) {
        // Probed again with the real JVM type, as a classic registry find is.
        const FoundJvmLibrary library = findJvmLibrary(*home, jvmType);
        if (!library.path.empty()) {
            jvmLibraryPath = library.path;
            traceChosenRuntime("current", *this);
            return true;
        }
    }
    // Only the paired launcher can run what the other view alone knows.
    if (architecture::kHandsOverToPairedProduct && !pairProduct.empty()) {
        if (const auto home = searchCurrentDistributions(architecture::kPairedRegistryViewIs32Bit,
                                                         search, true)) {
            const FoundJvmLibrary library = findJvmLibrary(*home, jvmType);
            if (!library.path.empty()) {
                jvmLibraryPath = library.path;
                runPairedProduct = true;
                traceChosenRuntime("current", *this);
                return true;
            }
        }
    }
    return false;
}
