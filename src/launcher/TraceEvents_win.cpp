// The events of the launch trace: one function per kind of decision, each writing one line.
#include "jvm/Jni.h"
#include "jvm/MappedImage.h"
#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"
#include "launcher/TraceLine.h"
#include "runtime/CandidateOrder.h"
#include "runtime/RuntimeArchitecture.h"
#include "runtime/RuntimeFamilies.h"
#include "runtime/RuntimeProbe.h"

namespace {

const char* viewName(bool use32BitView) { return use32BitView ? "32-bit" : "native"; }

const char* kindName(RuntimeKind kind) {
    return kind == RuntimeKind::DevelopmentKit ? "JDK" : "JRE";
}

const char* providerName(RuntimeProvider provider) {
    switch (provider) {
    case RuntimeProvider::Sun:
        return "Sun";
    case RuntimeProvider::JRockit:
        return "JRockit";
    case RuntimeProvider::Ibm:
        return "IBM";
    }
    return "";
}

const char* originName(SettingOrigin origin) {
    switch (origin) {
    case SettingOrigin::embedded:
        return "embedded";
    case SettingOrigin::file:
        return "file";
    case SettingOrigin::plusSection:
        return "plus-section";
    case SettingOrigin::embeddedAndPlusSection:
        return "embedded+plus-section";
    case SettingOrigin::userFile:
        return "user-file";
    case SettingOrigin::none:
        break;
    }
    return "default";
}

// A runtime's JVM library, with the machine its headers name.
TraceLine& jvmLibrary(TraceLine& line, const FoundJvmLibrary& library) {
    return line.text("jvm", library.path)
        .word("machine", machineName(imageMachine(library.path)))
        .flag("server", library.isServer);
}

TraceLine& family(TraceLine& line, const RuntimeFamily& family) {
    line.text("key", family.key)
        .word("kind", kindName(family.kind))
        .word("provider", providerName(family.provider));
    return line;
}

} // namespace

bool traceStage(const char* stage, bool succeeded) {
    if (isLaunchTraced())
        TraceLine("stage").word("stage", stage).flag("ok", succeeded).write();
    return succeeded;
}

int traceResult(const char* stage, int result) {
    if (isLaunchTraced())
        TraceLine("stage").word("stage", stage).number("result", result).write();
    return result;
}

void traceExit(int code, const char* by) {
    // As the system reports it: -1 is 4294967295.
    if (isLaunchTraced())
        TraceLine("exit").number("code", static_cast<uint32_t>(code)).word("by", by).write();
}

void traceAbort() {
    if (isLaunchTraced())
        TraceLine("exit").word("by", "abort").write();
}

void traceSettingsFile(const std::wstring& path, size_t embeddedSections) {
    if (isLaunchTraced())
        TraceLine("settings-file")
            .text("file", path)
            .number("embedded-sections", static_cast<int64_t>(embeddedSections))
            .write();
}

void traceUserSettingsFile(const std::wstring& path, bool exists) {
    if (isLaunchTraced())
        TraceLine("user-settings-file").text("file", path).flag("exists", exists).write();
}

void traceSetting(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                  SettingOrigin origin) {
    if (isLaunchTraced())
        TraceLine("setting")
            .text("section", section)
            .text("key", key)
            .text("value", value)
            .word("source", originName(origin))
            .write();
}

void traceInstance(const Launcher& launcher) {
    if (isLaunchTraced())
        TraceLine("instance")
            .word("mode", !launcher.singleInstance ? "off"
                          : launcher.isFirstInstance ? "first"
                                                     : "second")
            .write();
}

void traceMainClass(const std::wstring& name, const char* origin) {
    if (isLaunchTraced())
        TraceLine("main-class").text("name", name).word("origin", origin).write();
}

void traceManifest(const std::wstring& jar, std::span<const std::wstring> vmOptions) {
    if (!isLaunchTraced())
        return;
    TraceLine("manifest").text("jar", jar).write();
    for (const std::wstring& option : vmOptions)
        TraceLine("manifest-option").text("jar", jar).text("text", option).write();
}

const char* refusalOf(BoundsCheck check) {
    return check == BoundsCheck::belowMinimum ? "below-minimum" : "above-maximum";
}

const char* refusalOf(FamilyRule rule) {
    return rule == FamilyRule::providerNotAccepted ? "provider-not-accepted" : "kind-not-wanted";
}

void traceSearch(const char* from, bool use32BitView) {
    if (isLaunchTraced())
        TraceLine("search").word("from", from).word("view", viewName(use32BitView)).write();
}

void traceFamily(const RuntimeFamily& rules, FamilyRule rule) {
    if (!isLaunchTraced())
        return;
    TraceLine line("family");
    family(line, rules).word("verdict", rule == FamilyRule::searched ? "searched" : refusalOf(rule));
    line.write();
}

void traceRegisteredRuntime(const char* from, const RuntimeFamily& rules, const std::wstring& name,
                            const JavaVersion& version, const char* verdict, std::wstring_view home,
                            const FoundJvmLibrary* library, bool favored) {
    if (!isLaunchTraced())
        return;
    TraceLine line("runtime");
    line.word("from", from);
    family(line, rules).text("name", name).text("version", version.toString());
    if (!home.empty())
        line.text("home", home);
    if (library && !library->path.empty())
        jvmLibrary(line, *library).flag("favored", favored);
    line.word("verdict", verdict).write();
}

void traceRuntimeFolder(const char* from, const std::wstring& home, const FoundJvmLibrary& library,
                        const char* refusal) {
    if (!isLaunchTraced())
        return;
    TraceLine line("runtime");
    line.word("from", from).text("home", home);
    if (!library.path.empty())
        jvmLibrary(line, library);
    line.word("verdict", library.path.empty() ? refusal : "kept").write();
}

void traceCandidateOrder(const std::vector<JreCandidate>& ordered) {
    if (!isLaunchTraced())
        return;
    int64_t rank = 0;
    for (const JreCandidate& candidate : ordered)
        TraceLine("order")
            .number("rank", ++rank)
            .text("version", candidate.version.toString())
            .text("home", candidate.homeFolder)
            .flag("favored", candidate.favored)
            .flag("server", candidate.isServerJvm)
            .write();
}

void tracePick(const CandidatePick& pick) {
    if (!isLaunchTraced() || !pick.chosen)
        return;
    TraceLine line("pick");
    line.text("version", pick.chosen->version.toString()).text("home", pick.chosen->homeFolder);
    if (pick.preferredEntry)
        line.text("preferred", *pick.preferredEntry);
    line.write();
}

void traceChosenRuntime(const char* from, const Launcher& launcher) {
    if (isLaunchTraced())
        TraceLine("chosen")
            .word("from", from)
            .text("jvm", launcher.jvmLibraryPath)
            .flag("paired", launcher.runPairedProduct)
            .write();
}

void traceArchitecture(const std::wstring& jvmLibrary, std::optional<std::uint16_t> machine,
                       bool handedOver) {
    if (isLaunchTraced())
        TraceLine("architecture")
            .text("jvm", jvmLibrary)
            .word("machine", machineName(machine))
            .flag("hand-over", handedOver)
            .write();
}

void traceDialog(const char* dialog, std::intptr_t result, const std::wstring& detail) {
    if (!isLaunchTraced())
        return;
    TraceLine line("dialog");
    line.word("dialog", dialog).word("result", result == IDOK ? "ok" : result == -1 ? "failed" : "cancel");
    if (!detail.empty())
        line.text("detail", detail);
    line.write();
}

void traceRememberedRuntime(const std::wstring& settingsFile, const std::wstring& folder,
                            bool written) {
    if (isLaunchTraced())
        TraceLine("remember")
            .text("file", settingsFile)
            .text("folder", folder)
            .flag("written", written)
            .write();
}

void traceEnvironment(const wchar_t* name, const std::wstring& value) {
    if (isLaunchTraced())
        TraceLine("env").text("name", name).text("value", value).write();
}

void traceService(const std::wstring& name) {
    if (isLaunchTraced())
        TraceLine("service").word("started-by", name.empty() ? "prompt" : "scm").text("name", name).write();
}

void traceServiceStop(const std::wstring& stopClass, std::uint32_t timeoutMs) {
    if (isLaunchTraced())
        TraceLine("service-stop")
            .text("stop-class", stopClass)
            .number("timeout-ms", static_cast<int64_t>(timeoutMs))
            .write();
}

void traceWorkingDirectory(const std::wstring& folder) {
    if (isLaunchTraced())
        TraceLine("cwd").text("folder", folder).write();
}

void traceSplash(const char* kind, const std::wstring& image) {
    if (isLaunchTraced())
        TraceLine("splash").word("kind", kind).text("image", image).write();
}

void traceWindowDpi(const char* window, int dpi, bool changed) {
    if (isLaunchTraced())
        TraceLine("dpi")
            .word("window", window)
            .number("dpi", dpi)
            .word("on", changed ? "change" : "open")
            .write();
}

void traceJvmLibrary(const std::wstring& path, std::uint32_t error, const char* missingExport) {
    if (!isLaunchTraced())
        return;
    TraceLine line("jvm-library");
    line.text("path", path).flag("loaded", error == 0 && !missingExport);
    if (error != 0)
        line.number("error", error);
    if (missingExport)
        line.word("missing", missingExport);
    line.write();
}

void traceVmOptions(const std::vector<JavaVMOption>& options) {
    if (!isLaunchTraced())
        return;
    int64_t index = 0;
    for (const JavaVMOption& option : options)
        TraceLine("vm-option")
            .number("index", index++)
            .ansi("text", option.optionString)
            .flag("hook", option.extraInfo != nullptr)
            .write();
}

void traceVmCreated(int result) {
    if (isLaunchTraced())
        TraceLine("vm").number("result", result).write();
}

void traceMainThread(size_t stackSize) {
    if (isLaunchTraced())
        TraceLine("main-thread").number("stack", static_cast<int64_t>(stackSize)).write();
}

void traceMain(const std::wstring& name, const char* outcome) {
    if (isLaunchTraced())
        TraceLine("main").text("name", name).word("outcome", outcome).write();
}

void traceMainArguments(const std::vector<std::wstring>& arguments) {
    if (!isLaunchTraced())
        return;
    int64_t index = 0;
    for (const std::wstring& argument : arguments)
        TraceLine("main-arg").number("index", index++).text("text", argument).write();
}

void traceOptionRewritten(const std::wstring& written, const std::wstring& passed) {
    if (isLaunchTraced())
        TraceLine("vm-option-rewritten").text("written", written).text("passed", passed).write();
}

void traceOptionRefused(const std::wstring& option, const char* fault) {
    if (isLaunchTraced())
        TraceLine("vm-option-refused").text("text", option).word("fault", fault).write();
}


void traceMinimumVersionRaised(const JavaVersion& version, const char* why) {
    if (isLaunchTraced())
        TraceLine("minimum-version").text("version", version.toString()).word("why", why).write();
}
