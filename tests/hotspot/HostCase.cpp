// One case of tests/common/VmCases.h in this process, against the libjvm.so it is given, as the
// launcher runs it: the options composed from the case's settings by the launcher's own code
// (paths mapped to Linux form), -Xcheck:jni behind them, the VM created and main called on a
// thread of their own, what the case does after main on another attached thread, then
// DestroyJavaVM. The exit code is the launcher's: 0, 255 for its -1, or the application's.
#include "HostCase.h"

#include "HostRecord.h"

#include "jar/JarArchive.h"
#include "javaopts/JavaOptionList.h"
#include "jvm/LocalReference.h"
#include "jvm/MainClassChoice.h"
#include "jvm/VmConversation.h"
#include "settings/LaunchSettingsRules.h"
#include "settings/MainModuleText.h"

#include <dlfcn.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

class RecordingExitListener : public ExitListener {
  public:
    void onExit(int status) override { hostRecord("exit-hook", {std::to_wstring(status)}); }
    void onAbort() override { hostRecord("abort-hook", {}); }
};

// The launcher's paths in Linux form: "\" between folders, ":" between the entries of a path
// list. What the tier judges is the VM's verdict and what the Java side did, not path syntax.
std::string linuxForm(std::wstring option) {
    for (wchar_t& c : option)
        if (c == L'\\')
            c = L'/';
    for (const wchar_t* list : {L"-Djava.class.path=", L"--module-path=", L"--upgrade-module-path="})
        if (option.starts_with(list))
            for (wchar_t& c : option)
                if (c == L';')
                    c = L':';
    return narrow(option);
}

// The Main-Class of the jar, in slash form; empty when it names none.
std::wstring manifestMainClass(const std::string& jar) {
    std::ifstream file(jar, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                          std::istreambuf_iterator<char>()};
    std::vector<ManifestAttribute> attributes;
    if (readArchiveManifest(bytes, attributes) != ManifestRead::read)
        return {};
    const std::wstring* mainClass = manifestValue(attributes, "Main-Class");
    return mainClass ? toSlashClassName(*mainClass) : std::wstring();
}

// The runtime's version, for the tier's output.
void recordVersion(JNIEnv* env) {
    const LocalReference<jclass> system(env, env->FindClass("java/lang/System"));
    const jmethodID getProperty =
        system ? env->GetStaticMethodID(system.get(), "getProperty",
                                        "(Ljava/lang/String;)Ljava/lang/String;")
               : nullptr;
    const LocalReference<jstring> name(env, getProperty ? env->NewStringUTF("java.vm.version")
                                                        : nullptr);
    if (!name)
        return;
    const LocalReference<jstring> version(
        env, static_cast<jstring>(env->CallStaticObjectMethod(system.get(), getProperty, name.get())));
    if (env->ExceptionCheck())
        env->ExceptionDescribe();
    const char* const bytes = version ? env->GetStringUTFChars(version.get(), nullptr) : nullptr;
    if (!bytes)
        return;
    hostRecord("vm-version", {widen(bytes)});
    env->ReleaseStringUTFChars(version.get(), bytes);
}

} // namespace

int runHostCase(const vmcases::VmCase& row, const std::string& libjvm, const std::string& data) {
    // The library stays loaded for the life of the process, as the launcher's does.
    void* const library = dlopen(libjvm.c_str(), RTLD_NOW);
    if (!library) {
        hostRecord("dlopen-failed", {widen(dlerror())});
        return 2;
    }
    VmConversation conversation;
    conversation.createJavaVm =
        reinterpret_cast<JNI_CreateJavaVM_t>(dlsym(library, "JNI_CreateJavaVM"));
    RecordingExitListener exitListener;
    conversation.exitListener = &exitListener;

    const std::wstring folder = widen(data);
    const MainModule module = splitMainModule(row.mainModule);
    // The jar of "Main Jar" comes first on the class path, as the launcher puts it.
    std::wstring classPath = folder + L"\\lib\\app.jar";
    if (row.mainJar)
        classPath = folder + L"\\lib\\app.jar;" + classPath;
    const EnvironmentLookup lookup = [&row](const std::wstring& name, std::wstring& value) {
        if (name == vmcases::kOptionVariable && !row.optionVariable.empty()) {
            value = row.optionVariable;
            return true;
        }
        const char* const found = std::getenv(narrow(name).c_str());
        if (found)
            value = widen(found);
        return found != nullptr;
    };
    std::uint64_t stackSize = 0;
    const JavaCommandOptions composed = composeJavaOptions(
        {classPath, module.module.empty() ? L"" : L"\\mods", module.module, row.vmParameters,
         folder},
        MemoryStatus{std::uint64_t{8} << 30, std::uint64_t{128} << 40}, lookup, stackSize);
    if (composed.fault != OptionFault::None) {
        hostRecord("option-fault", {composed.faultyOption});
        return 255;
    }
    // The launcher's first option is the library path it composed from the runtime and "Path";
    // here it is where JavaFX's native libraries are.
    if (const char* const libraryPath = std::getenv("QOVA_HOTSPOT_LIBRARY_PATH"))
        conversation.vmOptions.push_back(std::string("-Djava.library.path=") + libraryPath);
    for (const std::wstring& option : composed.options)
        conversation.vmOptions.push_back(linuxForm(option));
    // Every JNI call the conversation makes is checked; a warning fails the case.
    conversation.vmOptions.push_back("-Xcheck:jni");

    switch (mainClassOrigin(!row.mainClass.empty(), !module.module.empty(), row.mainJar)) {
    case MainClassOrigin::setting:
        conversation.mainClass = toSlashClassName(row.mainClass);
        break;
    case MainClassOrigin::manifest:
        conversation.mainClass = manifestMainClass(data + "/lib/app.jar");
        break;
    case MainClassOrigin::module:
    case MainClassOrigin::none:
        break;
    }
    conversation.mainModule = module.module;
    conversation.mainModuleClass = module.mainClass;
    conversation.appArguments = row.arguments;

    // The Java main thread: the VM is created on the thread that calls main.
    bool mainCalled = false;
    std::thread([&] {
        if (!conversation.startVm())
            return;
        recordVersion(conversation.jniEnv);
        mainCalled = conversation.invokeMain();
    }).join();
    if (!conversation.javaVm)
        return 255;

    std::thread([&] {
        switch (row.after) {
        case vmcases::After::nothing:
            break;
        case vmcases::After::secondaryMain:
            if (!conversation.callOnAttachedThread(conversation.mainClass, "secondaryMain",
                                                   {L"second"}))
                hostRecord("secondary-main-failed", {});
            break;
        case vmcases::After::stopMethod:
            if (!conversation.callOnAttachedThread(L"app/Server", "stop", {L"now", L"two words"}))
                hostRecord("stop-method-failed", {});
            break;
        case vmcases::After::systemExit:
            conversation.exitOnAttachedThread(0);
            hostRecord("system-exit-returned", {});
            break;
        }
    }).join();
    conversation.javaVm->DestroyJavaVM();
    hostRecord("destroyed", {});
    return mainCalled ? 0 : 255;
}
