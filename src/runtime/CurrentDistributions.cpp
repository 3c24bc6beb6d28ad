#include "runtime/CurrentDistributions.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr auto kit = RuntimeKind::DevelopmentKit;
constexpr auto runtime = RuntimeKind::RuntimeEnvironment;
// HotSpot builds are what the Sun provider always meant; OpenJ9 comes from IBM's J9.
constexpr auto hotSpot = RuntimeProvider::Sun;
constexpr auto openJ9 = RuntimeProvider::Ibm;

// Names such as "zulu-17" and "zulu-8-jre": a runtime environment says so in its name.
RuntimeKind kindFromName(const std::wstring& name) {
    // Letters compared without regard to ASCII case: setting bit 5 lowers A to Z only (and
    // makes no other character a j, r or e). A plain loop: std::search is unrolled four times.
    const auto lowered = [&](std::size_t at) { return name[at] | 0x20; };
    for (std::size_t at = 0; at + 3 <= name.size(); ++at)
        if (lowered(at) == L'j' && lowered(at + 1) == L'r' && lowered(at + 2) == L'e')
            return runtime;
    return kit;
}

} // namespace

const std::array<CurrentFamily, currentFamilyCount>& currentFamilies() {
    static const std::array<CurrentFamily, currentFamilyCount> families{{
        // Oracle, the OpenJDK builds and Corretto.
        {L"Software\\JavaSoft\\JDK", L"", L"JavaHome", kit, hotSpot},
        {L"Software\\JavaSoft\\JRE", L"", L"JavaHome", runtime, hotSpot},
        {L"Software\\Eclipse Adoptium\\JDK", L"hotspot\\MSI", L"Path", kit, hotSpot},
        {L"Software\\Eclipse Adoptium\\JRE", L"hotspot\\MSI", L"Path", runtime, hotSpot},
        {L"Software\\AdoptOpenJDK\\JDK", L"hotspot\\MSI", L"Path", kit, hotSpot},
        {L"Software\\AdoptOpenJDK\\JRE", L"hotspot\\MSI", L"Path", runtime, hotSpot},
        {L"Software\\Eclipse Foundation\\JDK", L"hotspot\\MSI", L"Path", kit, hotSpot},
        {L"Software\\Eclipse Foundation\\JRE", L"hotspot\\MSI", L"Path", runtime, hotSpot},
        {L"Software\\Microsoft\\JDK", L"hotspot\\MSI", L"Path", kit, hotSpot},
        {L"Software\\Semeru\\JDK", L"openj9\\MSI", L"Path", kit, openJ9},
        {L"Software\\Semeru\\JRE", L"openj9\\MSI", L"Path", runtime, openJ9},
        {L"Software\\Azul Systems\\Zulu", L"", L"InstallationPath", std::nullopt, hotSpot},
        {L"Software\\BellSoft\\Liberica", L"", L"InstallationPath", std::nullopt, hotSpot},
    }};
    return families;
}

RuntimeFamily familyRulesOf(const CurrentFamily& family, const std::wstring& subKeyName) {
    return {family.key, family.kind ? *family.kind : kindFromName(subKeyName), family.provider};
}

std::wstring installationKeyPath(const CurrentFamily& family, const std::wstring& subKeyName) {
    if (*family.installSubKey == L'\0')
        return subKeyName;
    return subKeyName + L'\\' + family.installSubKey;
}

std::array<std::wstring, 2> currentHomeFolders(const std::wstring& registeredHome) {
    std::wstring home = withTrailingBackslash(registeredHome);
    return {home + L"jre\\", home};
}
