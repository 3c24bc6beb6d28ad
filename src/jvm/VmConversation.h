// The launcher's conversation with the VM, with no Win32 in it: creating the VM with the composed
// options and the hooks, finding the main class and calling main with the arguments, and calls
// on threads the program attaches. The program that holds the VM (the launcher; the test host
// that runs this against HotSpot on Linux) derives its own object from it and defines the
// operations at the end, which say what happens around the conversation: where a message
// goes, what a started or failed main means to it, and how a process ends. Each program has
// one such object and one definition of them, bound when it is linked: the launcher pays no
// indirect call and no table for them.
#pragma once

#include "jvm/ExitListener.h"
#include "jvm/Jni.h"

#include <atomic>
#include <string>
#include <vector>

class VmConversation {
  public:
    VmConversation();
    ~VmConversation();
    VmConversation(const VmConversation&) = delete;
    VmConversation& operator=(const VmConversation&) = delete;

    // JNI_CreateJavaVM with vmOptions and then the abort and exit hooks; javaVm and jniEnv are
    // set on success. False, with the failure reported, when the VM refuses.
    [[nodiscard]] bool startVm();
    // Finds the main class, calls main (or a JavaFX application's launch) with appArguments
    // and detaches. False, with the failure reported or a Java exception described, when main
    // could not be called.
    [[nodiscard]] bool invokeMain();
    // The class "Main Class" names; null, with the message shown, when it is not found.
    [[nodiscard]] jclass findNamedMainClass(JNIEnv* env);
    // The main class of "Main Module" looked up in the VM's boot layer; null, with the message
    // shown, when there is none.
    [[nodiscard]] jclass findModuleMainClass(JNIEnv* env);
    // For a main class without main that extends javafx.application.Application: that class
    // and its static launch(Class, String[]), which the java command calls for it. False, with
    // the lookup's exception pending again, for any other class.
    [[nodiscard]] bool findJavaFxLaunch(JNIEnv* env, jclass mainClassObject, jclass& application,
                                        jmethodID& launch);
    // On a thread of the program's own that is not attached yet: attaches it, calls the static
    // void `method`(String[]) of the class (slash form; the main class for secondaryMain, the
    // stop class for a service's stop) with the arguments, describes an exception it throws,
    // and detaches again unless `stayAttached`. False when the thread cannot be attached or the
    // class or the method is missing.
    [[nodiscard]] bool callOnAttachedThread(const std::wstring& className, const char* method,
                                            const std::vector<std::wstring>& arguments,
                                            bool stayAttached = false);
    // System.exit(status) on a thread of the program's own, attached for it: the application's
    // shutdown hooks run and the process ends with the status. Returns only when the VM did not
    // take the thread or the call (a Java exception is described).
    void exitOnAttachedThread(jint status);

    // Called by the VM's hooks (VmHooks.h).
    void vmExiting(jint status);
    void vmAborting();

    JNI_CreateJavaVM_t createJavaVm = nullptr;
    JavaVM* javaVm = nullptr;
    JNIEnv* jniEnv = nullptr; // the Java main thread's, from VM creation until it detaches
    ExitListener* exitListener = nullptr;
    std::vector<std::string> vmOptions;
    std::wstring mainClass; // slash form
    std::vector<std::wstring> appArguments;
    // The modular application: the module of "Main Module" and its class part (slash form;
    // empty when the module's descriptor names the main class).
    std::wstring mainModule;
    std::wstring mainModuleClass;

  protected:
    // Defined by the program that holds the VM (see above).
    // A failure message: string-table entry `messageId`, formatted with as many of the texts as
    // it has places for (a message with one place is given its text twice: no empty text is
    // made for it).
    void reportFailure(unsigned messageId, const std::wstring& text1, const std::wstring& text2);
    // The message for a VM that could not be created, with the reason for the result.
    void reportCreationFailure(jint result);
    // Right before main is called.
    void onMainStarting();
    // An exception escaped main; it has been described and is no longer pending.
    void onMainException(JNIEnv* env, jthrowable exception);
    // main has returned or thrown, before the Java main thread detaches.
    void onMainEnded();
    // Ends the process at once with the code: the VM aborted while it was being created.
    void endProcess(int code);

  private:
    // invokeMain up to the call of main and its outcome; false when main could not be called.
    [[nodiscard]] bool callMain(JNIEnv* env);

    // Set while JNI_CreateJavaVM runs, on the thread that creates the VM; the abort hook,
    // called on any Java thread, reads it.
    std::atomic<bool> creatingVm_{false};
};

// The class of the slash-form name, as a local reference; null (an exception pending) when
// there is none.
[[nodiscard]] jclass findClassNamed(JNIEnv* env, const std::wstring& name);

// System.exit(status) through JNI on an attached thread; returns only when the call could not be
// made or threw (the exception is described).
void callSystemExit(JNIEnv* env, jint status);

// The reason string-table entry for a JNI_CreateJavaVM result; 0 for a code outside the JNI set.
[[nodiscard]] unsigned creationFailureReason(jint result);

// The process's one conversation, for the VM hooks, whose signatures carry no context.
extern std::atomic<VmConversation*> currentConversation;
