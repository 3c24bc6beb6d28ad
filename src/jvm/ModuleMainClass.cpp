// The main class of a modular application, found as the java command finds it for "-m": the
// class named in "Main Module", else the one the module's descriptor declares, loaded in that
// module of the VM's boot layer.
#include "jvm/JavaStrings.h"
#include "jvm/LocalReference.h"
#include "jvm/VmConversation.h"
#include "launcher/LaunchTrace.h"
#include "res/resource.h"
#include "settings/LaunchSettingsRules.h"

#include <algorithm>
#include <vector>

namespace {

// The result of a Java call, or null when the call threw (the exception stays pending). The
// check is what JNI requires after every call into Java before the next JNI function, even when
// the result is not null.
template <typename Reference> Reference resultOf(JNIEnv* env, Reference result) {
    return env->ExceptionCheck() ? nullptr : result;
}

// The value of an Optional, or null when it is empty (or a Java exception is pending).
jobject optionalValue(JNIEnv* env, jobject optional) {
    if (!optional)
        return nullptr;
    const LocalReference<jclass> optionalClass(env, env->FindClass("java/util/Optional"));
    if (!optionalClass)
        return nullptr;
    const jmethodID orElse =
        env->GetMethodID(optionalClass.get(), "orElse", "(Ljava/lang/Object;)Ljava/lang/Object;");
    return orElse ? resultOf(env, env->CallObjectMethod(optional, orElse, nullptr)) : nullptr;
}

// The result of a method without arguments that returns an object; null on any failure.
jobject callGetter(JNIEnv* env, jobject object, const char* className, const char* name,
                   const char* descriptor) {
    const LocalReference<jclass> owner(env, env->FindClass(className));
    if (!owner)
        return nullptr;
    const jmethodID method = env->GetMethodID(owner.get(), name, descriptor);
    return method ? resultOf(env, env->CallObjectMethod(object, method)) : nullptr;
}

// The string's UTF-16 code units; a template, so that only the branch of the program's own
// wide character size is compiled (wider on the Linux test host).
template <typename Char = wchar_t> std::basic_string<Char> javaText(JNIEnv* env, jstring text) {
    const jsize length = env->GetStringLength(text);
    if constexpr (sizeof(Char) == sizeof(jchar)) {
        std::basic_string<Char> result(static_cast<size_t>(length), Char{});
        env->GetStringRegion(text, 0, length, reinterpret_cast<jchar*>(result.data()));
        return result;
    } else {
        std::vector<jchar> units(static_cast<size_t>(length));
        env->GetStringRegion(text, 0, length, units.data());
        return std::basic_string<Char>(units.begin(), units.end());
    }
}

std::wstring dottedClassName(std::wstring name) {
    std::replace(name.begin(), name.end(), L'/', L'.');
    return name;
}

// ModuleLayer.boot().findModule(name): the module, or null. Each step is checked before the
// next JNI call: a JNI call made while an exception is pending is a JNI error.
jobject bootLayerModule(JNIEnv* env, jclass layerClass, const std::wstring& name) {
    const jmethodID boot = env->GetStaticMethodID(layerClass, "boot", "()Ljava/lang/ModuleLayer;");
    if (!boot)
        return nullptr;
    const LocalReference<jobject> layer(
        env, resultOf(env, env->CallStaticObjectMethod(layerClass, boot)));
    if (!layer)
        return nullptr;
    const jmethodID findModule =
        env->GetMethodID(layerClass, "findModule", "(Ljava/lang/String;)Ljava/util/Optional;");
    if (!findModule)
        return nullptr;
    const LocalReference<jstring> moduleName(env, newJavaString(env, name));
    if (!moduleName)
        return nullptr;
    const LocalReference<jobject> found(
        env, resultOf(env, env->CallObjectMethod(layer.get(), findModule, moduleName.get())));
    return optionalValue(env, found.get());
}

// module.getDescriptor().mainClass(), in dotted form; empty when it declares none.
std::wstring declaredMainClass(JNIEnv* env, jobject module) {
    const LocalReference<jobject> descriptor(
        env, callGetter(env, module, "java/lang/Module", "getDescriptor",
                        "()Ljava/lang/module/ModuleDescriptor;"));
    if (!descriptor)
        return {};
    const LocalReference<jobject> declared(env, callGetter(env, descriptor.get(),
                                                           "java/lang/module/ModuleDescriptor",
                                                           "mainClass", "()Ljava/util/Optional;"));
    const LocalReference<jstring> name(env,
                                       static_cast<jstring>(optionalValue(env, declared.get())));
    return name ? javaText(env, name.get()) : std::wstring{};
}

// Class.forName(module, name), which gives null rather than an exception for a class that is
// not in the module.
jclass classInModule(JNIEnv* env, jobject module, const std::wstring& dottedName) {
    const LocalReference<jclass> classClass(env, env->FindClass("java/lang/Class"));
    if (!classClass)
        return nullptr;
    const jmethodID forName = env->GetStaticMethodID(
        classClass.get(), "forName", "(Ljava/lang/Module;Ljava/lang/String;)Ljava/lang/Class;");
    if (!forName)
        return nullptr;
    const LocalReference<jstring> name(env, newJavaString(env, dottedName));
    if (!name)
        return nullptr;
    return static_cast<jclass>(
        resultOf(env, env->CallStaticObjectMethod(classClass.get(), forName, module, name.get())));
}

} // namespace

jclass VmConversation::findModuleMainClass(JNIEnv* env) {
    // Only a runtime of Java 9 or later has the boot layer; selection asks for one, but a
    // configured "JRE Path" may still name an older runtime.
    const LocalReference<jclass> layerClass(env, env->FindClass("java/lang/ModuleLayer"));
    if (!layerClass) {
        env->ExceptionDescribe();
        reportFailure(IDS_NO_MODULE_SYSTEM, mainModule, mainModule);
        return nullptr;
    }
    const LocalReference<jobject> module(env, bootLayerModule(env, layerClass.get(), mainModule));
    if (!module) {
        // A Java exception says more than our message: the caller describes it.
        if (!env->ExceptionCheck())
            reportFailure(IDS_MODULE_NOT_FOUND, mainModule, mainModule);
        return nullptr;
    }
    const std::wstring className = mainModuleClass.empty() ? declaredMainClass(env, module.get())
                                                           : dottedClassName(mainModuleClass);
    if (className.empty()) {
        if (!env->ExceptionCheck())
            reportFailure(IDS_MODULE_WITHOUT_MAIN_CLASS, mainModule, mainModule);
        return nullptr;
    }
    const jclass found = classInModule(env, module.get(), className);
    if (!found) {
        if (!env->ExceptionCheck())
            reportFailure(IDS_CLASS_NOT_IN_MODULE, className, mainModule);
        return nullptr;
    }
    // Written before main starts and so before mainStartedEvent lets any worker read it: the
    // forwarded requests look the same class up for secondaryMain.
    mainClass = toSlashClassName(className);
    traceMainClass(mainClass, "module");
    return found;
}

bool VmConversation::findJavaFxLaunch(JNIEnv* env, jclass mainClassObject, jclass& application,
                                jmethodID& launch) {
    // Asked only when main is missing, so an application with main pays nothing here. The
    // lookup's NoSuchMethodError is kept, to be raised again when this is no JavaFX
    // application after all.
    const LocalReference<jthrowable> missingMain(env, env->ExceptionOccurred());
    env->ExceptionClear();
    application = env->FindClass("javafx/application/Application");
    launch = nullptr;
    if (application && env->IsAssignableFrom(mainClassObject, application))
        launch = env->GetStaticMethodID(application, "launch",
                                        "(Ljava/lang/Class;[Ljava/lang/String;)V");
    if (launch)
        return true;
    env->ExceptionClear();
    if (missingMain)
        env->Throw(missingMain.get());
    return false;
}
