#include "javaopts/EnvironmentSetup.h"
#include "jvm/MainClassChoice.h"
#include "jvm/Messages.h"
#include "launcher/CommandLine.h"
#include "launcher/ServiceRules.h"
#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"
#include "launcher/WindowsVersion.h"
#include "res/resource.h"
#include "settings/CombinedSettingsSource.h"
#include "settings/IniSettingsSource.h"
#include "settings/LaunchSettingsRules.h"
#include "settings/MainModuleText.h"
#include "settings/SettingsKeys.h"

namespace {

bool fileExists(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    const UniqueFind search(FindFirstFileW(path.c_str(), &found));
    return search && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

JavaVersion versionBound(const std::wstring& text, int32_t fill) {
    // "any" spells out the unbounded pattern; everything else, "ANY" included, is a version.
    if (text == settings::anyVersion)
        return JavaVersion{fill, fill, fill, fill};
    JavaVersion version;
    (void)version.parse(text, fill);
    return version;
}

} // namespace

bool Launcher::readLaunchSettings() {
    std::wstring path;
    return settingsFilePath(path) && readLaunchSettingsFrom(path);
}

// Read first of all for a service, which starts in the system folder: every relative path of
// its settings ("JRE Path", "Error File" among them) is taken from its own folder instead, and
// its messages wait until it is known who started it.
void Launcher::readServiceSettings(CombinedSettingsSource& combined) {
    using namespace settings;
    messageSink = MessageSink::deferred;
    overrideWorkingDir = true;
    setWorkingDirectoryToExecutableFolder();
    stopClass = toSlashClassName(combined.value(serviceSection, stopClassKey));
    stopMethod = combined.value(serviceSection, stopMethodKey);
    if (stopMethod.empty())
        stopMethod = L"stop";
    splitArguments(combined.value(serviceSection, stopArgumentsKey), stopArguments);
    stopTimeoutMs = stopTimeoutMilliseconds(combined.value(serviceSection, stopTimeoutKey));
    errorFile = combined.value(applicationSection, errorFileKey);
    expandFromProcessEnvironment(errorFile);
}

bool Launcher::readLaunchSettingsFrom(const std::wstring& path) {
    using namespace settings;

    // Every section, [Product Information] included, is read through the same layering, so
    // that a launcher carrying its settings needs no file beside it at all.
    CombinedSettingsSource combined(path, embeddedSettingsText());
    traceSettingsFile(path, combined.sections().size());
    productCode = combined.value(productInformationSection, productCodeKey);
    upgradeCode = combined.value(productInformationSection, upgradeCodeKey);
    productName = combined.value(productInformationSection, productNameKey);
    minVersion = versionBound(combined.value(javaRuntimeSection, minimumVersionKey), 0);
    maxVersion = versionBound(combined.value(javaRuntimeSection, maximumVersionKey), 65535);
    isService = combined.value(applicationSection, applicationTypeKey) == serviceType;
    if (isService)
        readServiceSettings(combined);
    preferredVersions = splitPreferredVersions(combined.value(javaRuntimeSection, preferredVersionsKey));

    // A per-user settings file, once it exists, is the only source of the runtime folder an
    // interactive user picked, even when it holds no value.
    std::wstring userFile;
    if (isWindowsNt() && !isService)
        ownUserSettingsFilePath(false, userFile);
    const bool userFileExists = !userFile.empty() && fileExists(userFile);
    if (!userFile.empty())
        traceUserSettingsFile(userFile, userFileExists);
    if (userFileExists)
        jrePath = IniSettingsSource(userFile, SettingOrigin::userFile)
                      .value(javaRuntimeSection, jrePathKey);
    else
        jrePath = combined.value(javaRuntimeSection, jrePathKey);

    jvmType = jvmTypeFromText(combined.value(javaRuntimeSection, jvmTypeKey));
    const JvmSourceChoice source = jvmSourceFromText(combined.value(javaRuntimeSection, jvmSourceKey));
    jdkWanted = source.jdkWanted;
    jreWanted = source.jreWanted;
    otherSourceAllowed = source.otherSourceAllowed;
    const VmProviderChoice provider =
        vmProviderFromText(combined.value(javaRuntimeSection, vmProviderKey));
    jrockitAccepted = provider.jrockitAccepted;
    jrockitFavored = provider.jrockitFavored;
    sunAccepted = provider.sunAccepted;
    sunFavored = provider.sunFavored;
    ibmAccepted = provider.ibmAccepted;
    ibmFavored = provider.ibmFavored;

    const MainModule module = splitMainModule(combined.value(javaRuntimeSection, mainModuleKey));
    mainModule = module.module;
    mainModuleClass = module.mainClass;
    if (!mainModule.empty() || !combined.value(javaRuntimeSection, modulePathKey).empty()) {
        // Said here, before the search, so that runtime selection and the missing-runtime
        // message both know it: an older runtime would fail on the module options.
        const JavaVersion modular = modularMinimumVersion(minVersion);
        if (modular != minVersion)
            traceMinimumVersionRaised(modular, "module-settings");
        minVersion = modular;
    }

    mainClass = toSlashClassName(combined.value(javaRuntimeSection, mainClassKey));
    if (!mainClass.empty())
        traceMainClass(mainClass, "setting");
    // "Main Class" first, then the module's class (found once the VM runs), then the manifest.
    if (!readMainJarManifest(combined, mainClassOrigin(!mainClass.empty(), !mainModule.empty(),
                                                       true) == MainClassOrigin::manifest))
        return false;
    if (mainClass.empty() && mainModule.empty()) {
        showMessageBox(messageOwner, IDS_NO_MAIN_CLASS);
        return false;
    }

    failureCheck = isYes(combined.value(applicationSection, failureCheckKey));
    overrideWorkingDir =
        isService || isYes(combined.value(applicationSection, overrideWorkingDirKey));
    systemPath = combined.value(javaRuntimeSection, systemPathKey);
    libraryPath = combined.value(javaRuntimeSection, libraryPathKey);
    pairProduct = combined.value(applicationSection, pairProductKey);
    pairReturnCode = isYes(combined.value(applicationSection, pairReturnCodeKey));
    return true;
}
