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

} // namespace

ManifestLaunch manifestLaunch(const std::vector<ManifestAttribute>& attributes) {
    ManifestLaunch launch;
    if (const std::wstring* mainClass = manifestValue(attributes, "Main-Class"))
        launch.mainClass = toSlashClassName(trimmed(*mainClass));
    addAllUnnamed(manifestValue(attributes, "Add-Exports"), L"--add-exports=", launch.vmOptions);
    addAllUnnamed(manifestValue(attributes, "Add-Opens"), L"--add-opens=", launch.vmOptions);
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
