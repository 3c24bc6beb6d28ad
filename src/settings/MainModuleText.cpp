#include "settings/MainModuleText.h"

#include "settings/LaunchSettingsRules.h"

MainModule splitMainModule(const std::wstring& text) {
    const std::size_t slash = text.find(L'/');
    if (slash == std::wstring::npos)
        return {text, {}};
    return {text.substr(0, slash), toSlashClassName(text.substr(slash + 1))};
}

JavaVersion modularMinimumVersion(const JavaVersion& configured) {
    constexpr JavaVersion kModulesArrived{{9, 0, 0, 0}};
    return configured < kModulesArrived ? kModulesArrived : configured;
}
