// Choosing the Java runtime to load, and remembering one the user picked.
#include "launcher/Architecture.h"
#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"
#include "launcher/PathForm.h"
#include "launcher/WindowsVersion.h"
#include "runtime/RegistryRuntimes.h"
#include "runtime/RuntimeFamilies.h"
#include "runtime/RuntimeProbe.h"
#include "settings/SettingsFiles.h"
#include "settings/SettingsKeys.h"

namespace {

RuntimeSearchSettings searchSettingsOf(const Launcher& launcher) {
    RuntimeSearchSettings settings;
    settings.minVersion = launcher.minVersion;
    settings.maxVersion = launcher.maxVersion;
    settings.jvmType = launcher.jvmType;
    settings.sources = {.jdkWanted = launcher.jdkWanted,
                        .jreWanted = launcher.jreWanted,
                        .otherSourceAllowed = launcher.otherSourceAllowed,
                        .jrockitAccepted = launcher.jrockitAccepted,
                        .sunAccepted = launcher.sunAccepted,
                        .ibmAccepted = launcher.ibmAccepted,
                        .jrockitFavored = launcher.jrockitFavored,
                        .sunFavored = launcher.sunFavored,
                        .ibmFavored = launcher.ibmFavored};
    settings.preferredVersions = launcher.preferredVersions;
    return settings;
}

void writeRuntimeFolder(const std::wstring& settingsFile, const std::wstring& folder) {
    // A settings file that cannot be written only means the user is asked again next time.
    // The profile functions keep the classic path limit even in a long-path-aware process.
    const std::wstring file = pathForLimitedCall(settingsFile, kClassicPathLimit);
    const bool written = WritePrivateProfileStringW(settings::javaRuntimeSection,
                                                    settings::jrePathKey, folder.c_str(),
                                                    file.c_str()) != FALSE;
    traceRememberedRuntime(settingsFile, folder, written);
}

// The folder as a full path; as given when the system cannot resolve it.
std::wstring fullPathOf(const std::wstring& folder) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(folder.c_str(), static_cast<DWORD>(buffer.size()),
                                              buffer.data(), nullptr);
        if (length == 0)
            return folder;
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        // Too small: length is the size needed, terminator included.
        buffer.resize(length);
    }
}

} // namespace

bool Launcher::selectRuntime() {
    traceInstance(*this);
    // A second instance hands its arguments to the first and loads no runtime of its own.
    if (singleInstance && !isFirstInstance)
        return true;

    // Before the configured runtime is probed: a relative "JRE Path" is then taken from the
    // executable's folder.
    if (overrideWorkingDir)
        setWorkingDirectoryToExecutableFolder();

    // The configured or remembered runtime is the user's or installer's explicit choice: no
    // version bound or family rule applies to it. A relative folder is probed against the
    // current directory; the library is kept by its full path, because loading a relative
    // path searches other folders first and the environment would hand it on relative.
    if (!jrePath.empty()) {
        const std::wstring home = fullPathOf(withTrailingBackslash(jrePath));
        const FoundJvmLibrary library = findJvmLibrary(home, jvmType);
        traceRuntimeFolder("jre-path", home, library);
        if (!library.path.empty()) {
            jvmLibraryPath = library.path;
            checkPairedRuntime();
            traceChosenRuntime("jre-path", *this);
            return true;
        }
    }

    // A failure to read the executable's path has been reported; the registry may still help.
    std::wstring privateRuntime;
    if (findPrivateRuntime(messageOwner, privateRuntime) && !privateRuntime.empty()) {
        const FoundJvmLibrary library = findJvmLibrary(privateRuntime, jvmType);
        traceRuntimeFolder("private", privateRuntime, library);
        if (!library.path.empty()) {
            jvmLibraryPath = library.path;
            traceChosenRuntime("private", *this);
            return true;
        }
    }

    const RuntimeSearchSettings search = searchSettingsOf(*this);
    // The chosen runtime's version is written as it is chosen, and forgotten below when none
    // of the registry's is taken in the end.
    if (const auto home =
            searchRegistry(architecture::kOwnRegistryViewIs32Bit, search, false, &runtimeVersion)) {
        // Probed again with the real JVM type: a runtime collected client-first may still
        // offer the server JVM that "favor_server" asks for.
        const FoundJvmLibrary library = findJvmLibrary(*home, jvmType);
        if (!library.path.empty()) {
            jvmLibraryPath = library.path;
            traceChosenRuntime("registry", *this);
            return true;
        }
    }

    // A runtime of the paired launcher's architecture (one only the 32-bit view knows, for the
    // x64 launcher) can be run by the paired launcher alone.
    if (architecture::kHandsOverToPairedProduct && !pairProduct.empty()) {
        if (const auto home =
                searchRegistry(architecture::kPairedRegistryViewIs32Bit, search, true)) {
            const FoundJvmLibrary library = findJvmLibrary(*home, jvmType);
            if (!library.path.empty()) {
                jvmLibraryPath = library.path;
                runPairedProduct = true;
                traceChosenRuntime("registry", *this);
                return true;
            }
        }
    }

    // Java 9 and later register where the families above do not look.
    if (findCurrentDistribution(search))
        return true;

    // Nothing qualifies: the user may know of a runtime the search did not find.
    runtimeVersion = {};
    return chooseRuntimeInDialog();
}

void Launcher::rememberRuntime(const std::wstring& folder) {
    // Only a launcher with a paired product remembers: both launchers then find the runtime.
    const auto pairedSettingsFile = settingsPathForModule(pairProduct);
    if (pairProduct.empty() || !pairedSettingsFile)
        return;
    const std::wstring value = withTrailingBackslash(folder);
    if (isWindowsNt() && !isService) {
        std::wstring userFile;
        ownUserSettingsFilePath(true, userFile);
        if (!userFile.empty())
            writeRuntimeFolder(userFile, value);
        pairedUserSettingsFilePath(userFile);
        if (!userFile.empty())
            writeRuntimeFolder(userFile, value);
        return;
    }
    writeRuntimeFolder(*pairedSettingsFile, value);
}
