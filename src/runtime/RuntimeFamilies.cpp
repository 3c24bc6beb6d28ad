#include "runtime/RuntimeFamilies.h"

namespace {

bool isProviderAllowed(RuntimeProvider provider, const RuntimeSourceSettings& settings) {
    switch (provider) {
    case RuntimeProvider::Sun:
        return settings.sunAccepted || settings.sunFavored;
    case RuntimeProvider::JRockit:
        return settings.jrockitAccepted || settings.jrockitFavored;
    case RuntimeProvider::Ibm:
        return settings.ibmAccepted || settings.ibmFavored;
    }
    return false;
}

bool isProviderFavored(RuntimeProvider provider, const RuntimeSourceSettings& settings) {
    switch (provider) {
    case RuntimeProvider::Sun:
        return settings.sunFavored;
    case RuntimeProvider::JRockit:
        return settings.jrockitFavored;
    case RuntimeProvider::Ibm:
        return settings.ibmFavored;
    }
    return false;
}

bool isKindWanted(RuntimeKind kind, const RuntimeSourceSettings& settings) {
    return kind == RuntimeKind::DevelopmentKit ? settings.jdkWanted : settings.jreWanted;
}

constexpr JvmLibraryLocation serverLibrary{L"bin\\server\\jvm.dll", true};

} // namespace

const std::array<RuntimeFamily, 5>& runtimeFamilies() {
    // There is no IBM development-kit family: IBM registered its kits under the runtime key.
    static const std::array<RuntimeFamily, 5> families{{
        {L"Software\\JavaSoft\\Java Development Kit\\", RuntimeKind::DevelopmentKit,
         RuntimeProvider::Sun},
        {L"Software\\JavaSoft\\Java Runtime Environment\\", RuntimeKind::RuntimeEnvironment,
         RuntimeProvider::Sun},
        {L"Software\\JRockit\\Java Runtime Environment\\", RuntimeKind::RuntimeEnvironment,
         RuntimeProvider::JRockit},
        {L"Software\\JRockit\\Java Development Kit\\", RuntimeKind::DevelopmentKit,
         RuntimeProvider::JRockit},
        {L"Software\\IBM\\Java2 Runtime Environment\\", RuntimeKind::RuntimeEnvironment,
         RuntimeProvider::Ibm},
    }};
    return families;
}

FamilyRule familyRule(const RuntimeFamily& family, const RuntimeSourceSettings& settings) {
    if (!isProviderAllowed(family.provider, settings))
        return FamilyRule::providerNotAccepted;
    // A kind that is not wanted is still searched in favour mode: it may win when nothing
    // favoured is installed.
    if (!settings.otherSourceAllowed && !isKindWanted(family.kind, settings))
        return FamilyRule::kindNotWanted;
    return FamilyRule::searched;
}

bool isFamilySearched(const RuntimeFamily& family, const RuntimeSourceSettings& settings) {
    return familyRule(family, settings) == FamilyRule::searched;
}

bool isFamilyFavored(const RuntimeFamily& family, const RuntimeSourceSettings& settings) {
    return isKindWanted(family.kind, settings) && isProviderFavored(family.provider, settings);
}

int collectionJvmType(const RuntimeFamily& family, int jvmType) {
    // Sun runtime environments are collected client-first even with "favor_server", so their
    // candidates do not claim the server JVM; the chosen one is probed again with the real type.
    const bool isSunRuntime =
        family.kind == RuntimeKind::RuntimeEnvironment && family.provider == RuntimeProvider::Sun;
    return isSunRuntime && jvmType == 2 ? 0 : jvmType;
}

std::wstring withTrailingBackslash(std::wstring folder) {
    if (folder.empty() || folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

std::wstring homeFolderFromJavaHome(const std::wstring& javaHome, const RuntimeFamily& family) {
    std::wstring home = withTrailingBackslash(javaHome);
    // A development kit is used through the runtime inside it.
    if (family.kind == RuntimeKind::DevelopmentKit)
        home += L"jre\\";
    return home;
}

std::vector<JvmLibraryLocation> jvmLibraryProbeOrder(int jvmType) {
    if (jvmType == 1)
        return {serverLibrary};
    std::vector<JvmLibraryLocation> order;
    if (jvmType == 2)
        order.push_back(serverLibrary);
    order.push_back({L"bin\\client\\jvm.dll", false});
    order.push_back({L"bin\\classic\\jvm.dll", false});
    order.push_back({L"bin\\hotspot\\jvm.dll", false});
    // With a favoured server JVM the server library has been tried first already.
    if (jvmType != 2)
        order.push_back(serverLibrary);
    order.push_back({L"bin\\jrockit\\jvm.dll", false});
    return order;
}
