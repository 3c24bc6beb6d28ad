#include "jvm/VmConversation.h"

#include "jvm/JavaStrings.h"
#include "jvm/LocalReference.h"
#include "jvm/MainClassChoice.h"
#include "jvm/ModifiedUtf8.h"
#include "jvm/VmHooks.h"
#include "launcher/LaunchTrace.h"
#include "res/resource.h"

#include <string_view>

std::atomic<VmConversation*> currentConversation{nullptr};

VmConversation::VmConversation() { currentConversation = this; }

// The VM's hooks may run on a Java thread at any time; once this conversation is gone they
// must find none rather than its stale address. A newer one keeps its place.
VmConversation::~VmConversation() {
    VmConversation* self = this;
    currentConversation.compare_exchange_strong(self, nullptr);
}

unsigned creationFailureReason(jint result) {
    // The reasons stand in the string table in the order of the codes, JNI_ERR to JNI_EINVAL.
    static_assert(IDS_REASON_INVALID_ARGUMENTS - IDS_REASON_UNKNOWN == JNI_ERR - JNI_EINVAL);
    if (result > JNI_ERR || result < JNI_EINVAL)
        return 0;
    return static_cast<unsigned>(IDS_REASON_UNKNOWN + (JNI_ERR - result));
}

bool VmConversation::startVm() {
    // The options point into vmOptions' own strings, which nothing changes while the VM reads
    // them during creation.
    std::vector<JavaVMOption> options;
    options.reserve(vmOptions.size() + 2);
    for (std::string& option : vmOptions)
        options.push_back({option.data(), nullptr});
    char abortName[] = "abort";
    char exitName[] = "exit";
    options.push_back({abortName, reinterpret_cast<void*>(&jvmAbortHook)});
    options.push_back({exitName, reinterpret_cast<void*>(&jvmExitHook)});
    traceVmOptions(options);

    JavaVMInitArgs arguments{};
    arguments.version = JNI_VERSION_1_2;
    arguments.nOptions = static_cast<jint>(options.size());
    arguments.options = options.data();
    // An option the VM does not know is a mistake in the settings: better to fail than to
    // run the application without it.
    arguments.ignoreUnrecognized = JNI_FALSE;

    // Release and acquire suffice: a hook that sees the flag set sees the VM being created.
    creatingVm_.store(true, std::memory_order_release);
    const jint result = createJavaVm(&javaVm, reinterpret_cast<void**>(&jniEnv), &arguments);
    creatingVm_.store(false, std::memory_order_release);
    traceVmCreated(result);
    if (result != JNI_OK) {
        javaVm = nullptr;
        jniEnv = nullptr;
        reportCreationFailure(result);
        return false;
    }
    return true;
}

void VmConversation::vmExiting(jint status) {
    if (exitListener)
        exitListener->onExit(status);
}

void VmConversation::vmAborting() {
    // A VM that cannot set itself up (a main module that is nowhere, a broken boot layer)
    // prints why on standard error and aborts instead of returning from JNI_CreateJavaVM. To
    // the user that is a VM that could not be created: the same message and exit code, not a
    // process that silently ends with the VM's 1. An abort of a running VM stays the VM's.
    // The hook has traced the abort; the exit's code follows it.
    if (creatingVm_.load(std::memory_order_acquire)) {
        reportCreationFailure(JNI_ERR);
        traceExit(-1, "launcher");
        endProcess(-1);
    }
    if (exitListener)
        exitListener->onAbort();
}

jclass VmConversation::findNamedMainClass(JNIEnv* env) {
    const jstring className = newJavaString(env, mainClass);
    if (!className) {
        reportFailure(IDS_MAIN_CLASS_LOAD_FAILED, mainClass, mainClass);
        return nullptr;
    }
    const char* const classNameBytes = env->GetStringUTFChars(className, nullptr);
    if (!classNameBytes)
        return nullptr;
    const jclass mainClassObject = env->FindClass(classNameBytes);
    if (!mainClassObject) {
        env->ExceptionDescribe();
        // The name as Java spelled it back, in slash form, then the bytes are released.
        const std::wstring shownName = decodeModifiedUtf8(std::string_view(classNameBytes));
        env->ReleaseStringUTFChars(className, classNameBytes);
        traceMain(shownName, "class-not-found");
        reportFailure(IDS_MAIN_CLASS_NOT_FOUND, shownName, shownName);
        return nullptr;
    }
    env->ReleaseStringUTFChars(className, classNameBytes);
    env->DeleteLocalRef(className);
    return mainClassObject;
}

bool VmConversation::invokeMain() {
    JNIEnv* const env = jniEnv;
    if (callMain(env)) {
        onMainEnded();
        return javaVm->DetachCurrentThread() == JNI_OK;
    }
    // Every way of giving up detaches first: the VM waits at destruction for every attached
    // thread, so a thread that ended attached would keep the process alive for ever.
    if (env->ExceptionCheck())
        env->ExceptionDescribe();
    javaVm->DetachCurrentThread();
    return false;
}

bool VmConversation::callMain(JNIEnv* env) {
    // By now a manifest's class is in mainClass, and looked up by its name as a setting's is.
    const jclass mainClassObject =
        mainClassOrigin(!mainClass.empty(), !mainModule.empty(), false) == MainClassOrigin::module
            ? findModuleMainClass(env)
            : findNamedMainClass(env);
    if (!mainClassObject)
        return false;

    const jmethodID mainMethod =
        env->GetStaticMethodID(mainClassObject, "main", "([Ljava/lang/String;)V");
    jclass javaFxApplication = nullptr;
    jmethodID javaFxLaunch = nullptr;
    if (!mainMethod && !findJavaFxLaunch(env, mainClassObject, javaFxApplication, javaFxLaunch)) {
        traceMain(mainClass, "no-main-method");
        // A VM reports a missing method as NoSuchMethodError; the message is only for a VM
        // that says nothing.
        if (!env->ExceptionCheck())
            reportFailure(IDS_NO_MAIN_METHOD, mainClass, mainClass);
        return false;
    }
    const jobjectArray arguments = newStringArray(env, appArguments);
    if (!arguments)
        return false;

    traceMainArguments(appArguments);
    traceMain(mainClass, mainMethod ? "called" : "launched");
    onMainStarting();
    if (mainMethod)
        env->CallStaticVoidMethod(mainClassObject, mainMethod, arguments);
    else
        env->CallStaticVoidMethod(javaFxApplication, javaFxLaunch, mainClassObject, arguments);

    if (const LocalReference<jthrowable> exception(env, env->ExceptionOccurred()); exception) {
        traceMain(mainClass, "exception");
        // Printed on the VM's standard error in either case, as the VM prints an exception that
        // ends a thread; describing also clears it, so that what the program does next with it
        // is legal JNI.
        env->ExceptionDescribe();
        onMainException(env, exception.get());
    } else {
        traceMain(mainClass, "returned");
    }
    env->DeleteLocalRef(arguments);
    return true;
}

// Java spells the name back: FindClass takes modified UTF-8, which a narrow conversion gives
// only for ASCII names.
jclass findClassNamed(JNIEnv* env, const std::wstring& name) {
    const LocalReference<jstring> javaName(env, newJavaString(env, name));
    if (!javaName)
        return nullptr;
    const char* const bytes = env->GetStringUTFChars(javaName.get(), nullptr);
    if (!bytes)
        return nullptr;
    const jclass found = env->FindClass(bytes);
    env->ReleaseStringUTFChars(javaName.get(), bytes);
    return found;
}

bool VmConversation::callOnAttachedThread(const std::wstring& className, const char* method,
                                          const std::vector<std::wstring>& arguments,
                                          bool stayAttached) {
    JNIEnv* env = nullptr;
    if (javaVm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr) != JNI_OK || !env)
        return false;
    bool called = false;
    if (const LocalReference<jclass> owner(env, findClassNamed(env, className)); owner) {
        const jmethodID target =
            env->GetStaticMethodID(owner.get(), method, "([Ljava/lang/String;)V");
        if (target) {
            if (const LocalReference<jobjectArray> array(env, newStringArray(env, arguments));
                array) {
                env->CallStaticVoidMethod(owner.get(), target, array.get());
                called = true;
            }
        }
    }
    if (env->ExceptionCheck())
        env->ExceptionDescribe();
    if (!stayAttached)
        javaVm->DetachCurrentThread();
    return called;
}

void callSystemExit(JNIEnv* env, jint status) {
    const jclass system = env->FindClass("java/lang/System");
    const jmethodID exit = system ? env->GetStaticMethodID(system, "exit", "(I)V") : nullptr;
    if (exit)
        env->CallStaticVoidMethod(system, exit, status);
    if (env->ExceptionCheck())
        env->ExceptionDescribe();
}

void VmConversation::exitOnAttachedThread(jint status) {
    JNIEnv* env = nullptr;
    if (javaVm->AttachCurrentThread(reinterpret_cast<void**>(&env), nullptr) != JNI_OK || !env)
        return;
    callSystemExit(env, status);
    javaVm->DetachCurrentThread();
}
