// The search of today's distributions, for machines that have no runtime where Java 8 and
// older registered.
#include "runtime/CurrentDistributions.h"

#include "jvm/MappedImage.h"
#include "launcher/Architecture.h"
#include "launcher/Launcher.h"
#include "runtime/RegistryKeys.h"
#include "runtime/RuntimeProbe.h"


namespace {

// Which per-user registrations a search of one view takes, by their JVM library's architecture.
enum class UserRegistrations { None, OwnArchitecture, OtherArchitecture };

// Only an image that says it is of the other architecture counts as one: anything else is left
// to the load, which reports what is wrong with it.
bool isOtherArchitecture(const std::wstring& library) {
    MappedImage image;
    return image.open(library) && image.isPe() && image.isMachine(architecture::kOtherMachine);
}

// Appends the usable runtimes one family registered under `hive`: within the bounds, with a
// home value and a JVM library. What is missing or unreadable (a key left behind by an
// uninstalled runtime among them) is passed over silently.
void collectCurrentRuntimes(HKEY hive, const CurrentFamily& family, bool use32BitView,
                            UserRegistrations architectures, const RuntimeSearchSettings& settings,
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
            if (architectures != UserRegistrations::None &&
                isOtherArchitecture(library.path) !=
                    (architectures == UserRegistrations::OtherArchitecture))
                break;
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
    // or preferred.
    const UserRegistrations user = use32BitView == architecture::kOwnRegistryViewIs32Bit
                                       ? UserRegistrations::OwnArchitecture
                                       : UserRegistrations::OtherArchitecture;
    std::vector<JreCandidate> candidates;
    for (const CurrentFamily& family : currentFamilies())
        collectCurrentRuntimes(HKEY_LOCAL_MACHINE, family, use32BitView, UserRegistrations::None,
                               settings, candidates);
    for (const CurrentFamily& family : currentFamilies())
        collectCurrentRuntimes(HKEY_CURRENT_USER, family, use32BitView, user, settings, candidates);
    return chooseRuntimeHome(candidates, settings);
}

bool Launcher::findCurrentDistribution(const RuntimeSearchSettings& search) {
    if (const auto home =
            searchCurrentDistributions(architecture::kOwnRegistryViewIs32Bit, search)) {
        // Probed again with the real JVM type, as a classic registry find is.
        const FoundJvmLibrary library = findJvmLibrary(*home, jvmType);
        if (!library.path.empty()) {
            jvmLibraryPath = library.path;
            return true;
        }
    }
    // Only the paired launcher can run what the other view alone knows.
    if (architecture::kHandsOverToPairedProduct && !pairProduct.empty()) {
        if (const auto home =
                searchCurrentDistributions(!architecture::kOwnRegistryViewIs32Bit, search)) {
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
