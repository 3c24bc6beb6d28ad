#include "jar/ManifestLaunch.h"

#include "settings/LaunchSettingsRules.h"

namespace {

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring trimmed(const std::wstring& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// One module and one package: anything else would change the option's meaning (a second "="
// names other targets, a "," several), so the item is skipped as the java command skips items
// it cannot use.
bool isModulePackage(const std::wstring& item) {
    const std::size_t slash = item.find(L'/');
    return slash != std::wstring::npos && slash > 0 && slash + 1 < item.size() &&
           item.find(L'/', slash + 1) == std::wstring::npos &&
           item.find_first_of(L"=,") == std::wstring::npos;
}

void addAllUnnamed(const std::wstring* value, const wchar_t* option,
                   std::vector<std::wstring>& vmOptions) {
    if (!value)
        return;
    std::size_t position = 0;
    while (position < value->size()) {
        while (position < value->size() && isBlank((*value)[position]))
            ++position;
        std::size_t end = position;
        while (end < value->size() && !isBlank((*value)[end]))
            ++end;
        const std::wstring item = value->substr(position, end - position);
        if (isModulePackage(item))
            vmOptions.push_back(option + item + L"=ALL-UNNAMED");
        position = end;
    }
}

// The release a java command belongs to: 1.8 is 8, 11.0.2 is 11.
int featureRelease(const JavaVersion& version) {
    return version.components[0] == 1 ? version.components[1] : version.components[0];
}

} // namespace

ManifestLaunch manifestLaunch(const std::vector<ManifestAttribute>& attributes) {
    ManifestLaunch launch;
    if (const std::wstring* mainClass = manifestValue(attributes, "Main-Class"))
        launch.mainClass = toSlashClassName(trimmed(*mainClass));
    addAllUnnamed(manifestValue(attributes, "Add-Exports"), L"--add-exports=", launch.vmOptions);
    addAllUnnamed(manifestValue(attributes, "Add-Opens"), L"--add-opens=", launch.vmOptions);
    launch.moduleOptionCount = launch.vmOptions.size();
    if (const std::wstring* access = manifestValue(attributes, "Enable-Native-Access")) {
        const std::wstring value = trimmed(*access);
        if (value == L"ALL-UNNAMED")
            launch.vmOptions.push_back(L"--enable-native-access=ALL-UNNAMED");
        else {
            launch.nativeAccessRefused = true;
            launch.refusedNativeAccess = value;
        }
    }
    return launch;
}

// Each java command reads only the attributes of its own release and ignores the others, as
// it ignores any attribute it does not know: Java 8 has no module options at all, and 9 to 21
// do not look at Enable-Native-Access (11 would even refuse the option). The registry's
// version is the one at hand before the VM is created; without it the launcher keeps to what
// the manifest asks for, and "Minimum Version" is the application's way to make sure.
ManifestOptions manifestOptionsFor(const ManifestLaunch& launch, const JavaVersion& version) {
    // 0.0.0.0, the unknown version, has release 0.
    const int release = featureRelease(version);
    if (release == 0 || release >= 22)
        return {launch.vmOptions.size(), launch.nativeAccessRefused};
    return {release >= 9 ? launch.moduleOptionCount : 0, false};
}
