// The one launcher object of the process: its state, and one operation per launch stage.
#pragma once

#include "jar/ManifestLaunch.h"
#include "jvm/Jni.h"
#include "jvm/VmConversation.h"
#include "launcher/UniqueHandle.h"
#include "runtime/JavaVersion.h"
#include "splash/SplashWindow.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct SingleInstanceBlock;
struct RuntimeSearchSettings;
class CombinedSettingsSource;

// The conversation with the VM is the portable base; the launcher says what happens around it
// (Launcher_win.cpp).
class Launcher final : public VmConversation {
  public:
    using SplashCloseFunction = void(__cdecl*)();

    Launcher() = default;
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    // The three stages of the process, called in this order by the entry point. prepare is
    // readSettings then prepareApplication: a service is handed to the Service Control
    // Manager between the two.
    [[nodiscard]] bool prepare();
    [[nodiscard]] bool readSettings();
    [[nodiscard]] bool prepareApplication();
    [[nodiscard]] int run();
    void cleanup();

    // Command line.
    void parseCommandLine();
    [[nodiscard]] bool hasArgument(const std::wstring& text) const;

    // Settings files and readers.
    [[nodiscard]] bool settingsFilePath(std::wstring& path) const;
    void userSettingsFilePath(const std::wstring& executablePath, bool createFolders,
                              std::wstring& path) const;
    void ownUserSettingsFilePath(bool createFolders, std::wstring& path) const;
    void pairedUserSettingsFilePath(std::wstring& path) const;
    std::wstring embeddedSettingsText() const;
    [[nodiscard]] bool readLaunchSettings();
    [[nodiscard]] bool readLaunchSettingsFrom(const std::wstring& settingsPath);
    [[nodiscard]] bool readApplicationSettings();
    void readServiceSettings(CombinedSettingsSource& combined);
    // Reads the manifest of "Main Jar", or of the jar appended to the launcher when the main
    // class must come from it; false (message shown) when the jar cannot be used.
    [[nodiscard]] bool readMainJarManifest(CombinedSettingsSource& settings, bool mainClassNeeded);

    // Runtime discovery.
    [[nodiscard]] bool selectRuntime();
    [[nodiscard]] bool findCurrentDistribution(const RuntimeSearchSettings& search);
    // Asks the user for a runtime folder when the search found none; false when cancelled.
    [[nodiscard]] bool chooseRuntimeInDialog();
    void rememberRuntime(const std::wstring& folder);

    // Environment, options and the VM.
    void prepareEnvironment();
    void setWorkingDirectoryToExecutableFolder();
    [[nodiscard]] bool loadJvmLibrary(const std::wstring& path);
    [[nodiscard]] bool buildJavaOptions();
    [[nodiscard]] bool createVm();
    [[nodiscard]] bool redirectStandardOutput(const std::wstring& path);
    [[nodiscard]] bool redirectStandardError(const std::wstring& path);
    size_t defaultThreadStackSize() const;
    void checkPairedRuntime();
    [[nodiscard]] int runJavaMainThread();

    // Hand-over and single instance.
    [[nodiscard]] int startPairedProduct();
    [[nodiscard]] bool writeInstanceArguments();
    [[nodiscard]] int waitForFirstInstance();
    void readForwardedArguments(std::vector<std::wstring>& list) const;
    [[nodiscard]] bool invokeSecondaryMain(DWORD requesterThreadId, UINT forwardMessage,
                                           const std::vector<std::wstring>& arguments);

    // Splash.
    // False only when the settings file cannot be located; a splash that cannot be shown is
    // no failure.
    [[nodiscard]] bool startSplash();
    void startNativeSplash();
    [[nodiscard]] bool startRuntimeSplash(const std::wstring& libraryPath,
                                          const std::wstring& imagePath);
    void closeSplash();

    // Cleanup steps.
    void destroyJavaVm();
    void stopSingleInstance();

    // Fields, in the order of the launcher's data model (those of the conversation with the VM
    // are in its base). Fields read by other threads are written before those threads start;
    // messageOwner is the one exception and is atomic.
    UniqueHandle splashThread;
    DWORD splashThreadId = 0;
    std::wstring splashImage;
    std::wstring splashShadow;
    int jvmType = 0;
    std::wstring jvmLibraryPath;
    JavaVersion minVersion{};
    JavaVersion maxVersion{};
    std::unique_ptr<SplashWindow> splashWindow;
    std::atomic<HWND> messageOwner{nullptr};
    bool isService = false;
    bool jdkWanted = false;
    bool jreWanted = false;
    bool otherSourceAllowed = true;
    bool jrockitAccepted = false;
    bool sunAccepted = true;
    bool ibmAccepted = false;
    bool jrockitFavored = false;
    bool sunFavored = true;
    bool ibmFavored = false;
    std::wstring productName;
    std::wstring productCode;
    std::wstring upgradeCode;
    std::vector<std::wstring> preferredVersions;
    std::wstring jrePath;
    std::wstring libraryPath;
    UniqueMappedViewOf<SingleInstanceBlock> instanceBlock;
    UniqueHandle instanceMapping;
    UniqueHandle messageThread;
    bool isFirstInstance = false;
    bool singleInstance = false;
    std::wstring outputFile;
    std::wstring errorFile;
    std::wstring systemPath;
    std::wstring cmdArguments;
    std::wstring pairProduct;
    bool pairReturnCode = false;
    bool failureCheck = false;
    bool overrideWorkingDir = false;
    size_t mainThreadStackSize = 0;
    SplashCloseFunction splashClose = nullptr;
    UniqueHandle mainStartedEvent;
    bool runPairedProduct = false;
    JNI_GetDefaultJavaVMInitArgs_t getDefaultJavaVmInitArgs = nullptr;

    // The application's jar: "Main Jar" resolved (first on the class path); the jar whose
    // manifest was read ("Main Jar" or the launcher itself), empty when none was, and what that
    // manifest adds to the launch.
    std::wstring mainJar;
    std::wstring manifestJar;
    ManifestLaunch manifest;
    // The version under which the chosen runtime is registered; 0.0.0.0 when the runtime was
    // not found in the registry ("JRE Path", a private runtime, one the user browsed for).
    JavaVersion runtimeVersion{};
    // A launcher stamped as a console program: messages on standard error, no dialogs, and
    // the exit code java gives when main throws.
    bool isConsole = false;
    bool mainThrew = false;
    // Where messages go. A service's wait from the moment its settings say so until it is known
    // whether the Service Control Manager started it, then go to the event log (and the
    // "Error File"), where an administrator reads them; from a prompt they are shown.
    enum class MessageSink { window, deferred, eventLog };
    MessageSink messageSink = MessageSink::window;
    std::vector<std::wstring> deferredMessages;
    // Sends the waiting messages, then every later one, to the sink.
    void reportMessagesTo(MessageSink sink);
    // [Service]: the static void stop(String[]) called on a stop request (slash form; none:
    // System.exit(0)), its arguments, and how long the application may take to end.
    std::wstring serviceName;
    std::wstring stopClass;
    std::wstring stopMethod;
    std::vector<std::wstring> stopArguments;
    std::uint32_t stopTimeoutMs = 0;
};

// The process's one launcher: its conversation with the VM (currentConversation), which the
// VM hooks and the messages reach.
[[nodiscard]] inline Launcher* currentLauncher() {
    return static_cast<Launcher*>(currentConversation.load());
}
