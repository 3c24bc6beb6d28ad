#include "jvm/JavaMainThread.h"

#include "jvm/JavaExceptionDialog.h"
#include "jvm/JavaStrings.h"
#include "jvm/LocalReference.h"
#include "jvm/Messages.h"
#include "jvm/ModifiedUtf8.h"
#include "jvm/StackTraceText.h"
#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"
#include "res/resource.h"

#include <string_view>

namespace {

constexpr DWORD kThreadStarted = 0;
constexpr DWORD kThreadFailed = 1;

} // namespace

DWORD WINAPI javaMainThreadProc(void* parameter) {
    auto& launcher = *static_cast<Launcher*>(parameter);
    if (!traceStage("vm", launcher.createVm()))
        return kThreadFailed;
    return traceStage("main", launcher.invokeMain()) ? kThreadStarted : kThreadFailed;
}

int Launcher::runJavaMainThread() {
    if (mainThreadStackSize == 0)
        mainThreadStackSize = defaultThreadStackSize();
    traceMainThread(mainThreadStackSize);
    // The VM is created on a thread of its own because the stack of the process's first
    // thread is fixed by the executable: only a new thread can have the stack the
    // application asks for. The size is a reservation, as a Java thread stack size is; a
    // commit size would be overridden by the executable's larger reservation and committed
    // up front.
    const UniqueHandle thread(CreateThread(nullptr, mainThreadStackSize, &javaMainThreadProc, this,
                                           STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    if (!thread)
        return static_cast<int>(javaMainThreadProc(this));
    WaitForSingleObject(thread.get(), INFINITE);
    DWORD exitCode = kThreadFailed;
    if (!GetExitCodeThread(thread.get(), &exitCode))
        exitCode = kThreadFailed;
    return static_cast<int>(exitCode);
}

jclass Launcher::findNamedMainClass(JNIEnv* env) {
    const jstring className = newJavaString(env, mainClass);
    if (!className) {
        showFormattedMessage(messageOwner, IDS_MAIN_CLASS_LOAD_FAILED, mainClass);
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
        showFormattedMessage(messageOwner, IDS_MAIN_CLASS_NOT_FOUND, shownName);
        return nullptr;
    }
    env->ReleaseStringUTFChars(className, classNameBytes);
    env->DeleteLocalRef(className);
    return mainClassObject;
}

bool Launcher::invokeMain() {
    JNIEnv* const env = jniEnv;
    // Every way of giving up detaches first: the VM waits at destruction for every attached
    // thread, so a thread that ended attached would keep the process alive for ever.
    const auto giveUp = [this, env] {
        if (env->ExceptionCheck())
            env->ExceptionDescribe();
        javaVm->DetachCurrentThread();
        return false;
    };

    // "Main Class" wins over "Main Module"'s class, as -cp with a class does over -m.
    const jclass mainClassObject =
        mainClass.empty() ? findModuleMainClass(env) : findNamedMainClass(env);
    if (!mainClassObject)
        return giveUp();

    const jmethodID mainMethod =
        env->GetStaticMethodID(mainClassObject, "main", "([Ljava/lang/String;)V");
    jclass javaFxApplication = nullptr;
    jmethodID javaFxLaunch = nullptr;
    if (!mainMethod && !findJavaFxLaunch(env, mainClassObject, javaFxApplication, javaFxLaunch)) {
        traceMain(mainClass, "no-main-method");
        // A VM reports a missing method as NoSuchMethodError; the message is only for a VM
        // that says nothing.
        if (!env->ExceptionCheck())
            showMessageBox(messageOwner, IDS_NO_MAIN_METHOD);
        return giveUp();
    }
    const jobjectArray arguments = newStringArray(env, appArguments);
    if (!arguments)
        return giveUp();

    traceMainArguments(appArguments);
    traceMain(mainClass, mainMethod ? "called" : "launched");
    if (mainStartedEvent)
        SetEvent(mainStartedEvent.get());
    if (mainMethod)
        env->CallStaticVoidMethod(mainClassObject, mainMethod, arguments);
    else
        env->CallStaticVoidMethod(javaFxApplication, javaFxLaunch, mainClassObject, arguments);

    if (const LocalReference<jthrowable> exception(env, env->ExceptionOccurred()); exception) {
        traceMain(mainClass, "exception");
        mainThrew = true;
        closeSplash();
        // Printed on the VM's standard error in either case, as the VM prints an exception that
        // ends a thread; describing also clears it, so that the calls that fetch its trace for
        // the dialog are legal JNI. Without the check the application goes on as after a return.
        env->ExceptionDescribe();
        // A service's administrator reads the trace in the event log, with or without "Failure
        // Check"; with it the application stops, as the dialog's default answer stops it.
        // A console program has printed the trace where its user reads it; no dialog waits.
        if (messageSink == MessageSink::eventLog) {
            showMessageBox(nullptr, stackTraceText(exception.get(), env));
            if (failureCheck) {
                traceMain(mainClass, "stopped");
                exitOnStop(env);
            }
        } else if (failureCheck && !isConsole && showExceptionDialog(exception.get(), env)) {
            traceMain(mainClass, "stopped");
            exitOnStop(env);
        }
    } else {
        traceMain(mainClass, "returned");
    }
    env->DeleteLocalRef(arguments);

    // With that provider accepted the main thread stays attached and never ends, so the
    // launcher never reaches cleanup: the process ends only through the application's exit.
    if (ibmAccepted || ibmFavored)
        Sleep(INFINITE);
    return javaVm->DetachCurrentThread() == JNI_OK;
}

void exitOnStop(JNIEnv* env) {
    const jclass system = env->FindClass("java/lang/System");
    if (!system)
        return;
    const jmethodID exit = env->GetStaticMethodID(system, "exit", "(I)V");
    if (!exit)
        return;
    env->CallStaticVoidMethod(system, exit, static_cast<jint>(-1));
    if (env->ExceptionCheck())
        env->ExceptionDescribe();
}
