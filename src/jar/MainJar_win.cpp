// The application's jar: where it is, and what its manifest adds to the launch.
#include "jar/JarManifestFile.h"
#include "jar/ManifestLaunch.h"
#include "javaopts/ClassPathText.h"
#include "javaopts/EnvironmentSetup.h"
#include "javaopts/ExecutableFolder.h"
#include "jvm/Messages.h"
#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"
#include "launcher/ProcessInfo.h"
#include "res/resource.h"
#include "settings/LaunchSettingsRules.h"
#include "settings/SettingsKeys.h"
#include "settings/CombinedSettingsSource.h"

namespace {

// The manifest of `jar`, or false with the message that says why it cannot be used. A jar
// without a manifest is no fault while the main class comes from elsewhere.
bool readManifest(HWND owner, const std::wstring& jar, bool mainClassNeeded,
                  std::vector<ManifestAttribute>& attributes) {
    DWORD error = 0;
    switch (readJarFileManifest(jar, attributes, error)) {
    case JarFileRead::read:
        return true;
    case JarFileRead::unreadable:
        showFormattedMessage(owner, IDS_JAR_UNREADABLE, jar, static_cast<int32_t>(error));
        return false;
    case JarFileRead::missingManifest:
        if (!mainClassNeeded)
            return true;
        showFormattedMessage(owner, IDS_JAR_NO_MANIFEST, jar);
        return false;
    case JarFileRead::damaged:
        break;
    }
    showFormattedMessage(owner, IDS_JAR_DAMAGED, jar);
    return false;
}

} // namespace

bool Launcher::readMainJarManifest(CombinedSettingsSource& settings, bool mainClassNeeded) {
    using namespace settings;
    std::wstring setting = settings.value(javaRuntimeSection, mainJarKey);
    // The launcher's own file is opened only when nothing else names the main class: an
    // application that names it pays nothing for the jar appended to the launcher.
    const bool appended = setting.empty() && mainClassNeeded &&
                          isYes(settings.value(applicationSection, embeddedJarKey));
    if (setting.empty() && !appended)
        return true;

    std::wstring executablePath;
    DWORD error = 0;
    if (!readModulePath(executablePath, error)) {
        showWindowsError(messageOwner, IDS_MODULE_PATH_FAILED, error);
        return false;
    }
    if (!appended) {
        // Written as a "Class Path" entry is: \app.jar is beside the launcher.
        expandFromProcessEnvironment(setting);
        mainJar = classPathSearchPattern(setting, executableFolder(executablePath));
    }
    const std::wstring& jar = appended ? executablePath : mainJar;
    std::vector<ManifestAttribute> attributes;
    if (!readManifest(messageOwner, jar, mainClassNeeded, attributes))
        return false;

    // Its VM options wait for the runtime's version (buildJavaOptions), and so does its trace.
    manifest = manifestLaunch(attributes);
    manifestJar = jar;
    if (!mainClassNeeded)
        return true;
    if (manifest.mainClass.empty()) {
        showFormattedMessage(messageOwner, IDS_JAR_NO_MAIN_CLASS, jar);
        return false;
    }
    mainClass = manifest.mainClass;
    traceMainClass(mainClass, "manifest");
    return true;
}
