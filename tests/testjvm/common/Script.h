// What one test asks of the test runtime: the result of VM creation, the options it rejects,
// the classes that exist and what their methods do. The harness writes it as the file
// "testjvm.script" in the runtime home; the runtime reads it when it is first called.
#pragma once

#include "jvm/Jni.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testjvm {

// The signature of a Java main method, and of the two forms of secondaryMain.
inline constexpr wchar_t kMainMethod[] = L"main([Ljava/lang/String;)V";
inline constexpr wchar_t kSecondaryMainVoid[] = L"secondaryMain([Ljava/lang/String;)V";
inline constexpr wchar_t kSecondaryMainInt[] = L"secondaryMain([Ljava/lang/String;)I";

// One step of a scripted Java method. Steps run in order on the calling thread.
struct Action {
    enum class Kind {
        PrintOut,     // System.out.println(text)
        PrintErr,     // System.err.println(text)
        PrintArgs,    // println of every argument, on System.out (text "out") or System.err
        Sleep,        // Thread.sleep(number ms)
        Thread,       // start a non-daemon Java thread that lives number ms, then ends
        DaemonThread, // the same as a daemon thread (DestroyJavaVM does not wait for it)
        Throw,        // throw text ("pkg/Class" or "pkg/Class: message"); the method ends here
        Cause,        // the next cause in the chain of the preceding Throw (same form)
        Exit,         // System.exit(number): the VM's exit hook, then the process ends
        ExitFromThread, // a new Java thread calls System.exit(number); the method waits for it
        Abort,        // the VM aborts: the abort hook, then the process ends with code 3
        Return,       // the method returns number (an int-returning method; default 0)
        WaitFor,      // wait until the file text exists in the runtime home (2 minutes at most)
        ShutdownHook, // Runtime.addShutdownHook of a thread that prints text on System.out
        ReadLine,     // read a line of System.in and print text followed by it on System.out
        Signal,       // create the file text in the runtime home (what WaitFor waits for)
    };
    Kind kind = Kind::PrintOut;
    std::wstring text;
    long long number = 0;

    static Action printOut(std::wstring text) { return {Kind::PrintOut, std::move(text), 0}; }
    static Action printErr(std::wstring text) { return {Kind::PrintErr, std::move(text), 0}; }
    static Action printArgs(std::wstring stream = L"out") {
        return {Kind::PrintArgs, std::move(stream), 0};
    }
    static Action sleep(long long ms) { return {Kind::Sleep, {}, ms}; }
    static Action thread(long long ms) { return {Kind::Thread, {}, ms}; }
    static Action daemonThread(long long ms) { return {Kind::DaemonThread, {}, ms}; }
    static Action throwException(std::wstring what) { return {Kind::Throw, std::move(what), 0}; }
    static Action cause(std::wstring what) { return {Kind::Cause, std::move(what), 0}; }
    static Action exit(long long status) { return {Kind::Exit, {}, status}; }
    static Action exitFromThread(long long status) { return {Kind::ExitFromThread, {}, status}; }
    static Action abort() { return {Kind::Abort, {}, 0}; }
    static Action returnValue(long long value) { return {Kind::Return, {}, value}; }
    static Action waitFor(std::wstring file) { return {Kind::WaitFor, std::move(file), 0}; }
    static Action shutdownHook(std::wstring text) {
        return {Kind::ShutdownHook, std::move(text), 0};
    }
    static Action readLine(std::wstring prefix) { return {Kind::ReadLine, std::move(prefix), 0}; }
    static Action signal(std::wstring file) { return {Kind::Signal, std::move(file), 0}; }

    bool operator==(const Action&) const = default;
};

// A class that FindClass can find, with the methods that GetStaticMethodID and GetMethodID
// find on it ("name(descriptor)"). Any scripted static method named "main" runs the main
// actions, and so does "launch" (javafx.application.Application.launch starts the application,
// whose start method is what main is to others); "secondaryMain" runs the secondary actions;
// "stop" (a service's stop method) the stop actions; other methods do nothing.
struct JavaClass {
    JavaClass(std::wstring name = {}, std::vector<std::wstring> staticMethods = {kMainMethod},
              std::vector<std::wstring> instanceMethods = {}, std::wstring classPathEntry = {})
        : name(std::move(name)), staticMethods(std::move(staticMethods)),
          instanceMethods(std::move(instanceMethods)), classPathEntry(std::move(classPathEntry)) {}

    std::wstring name; // slash form, e.g. com/example/App
    std::vector<std::wstring> staticMethods;
    std::vector<std::wstring> instanceMethods;
    // When not empty, the class is found only when an entry of the java.class.path property
    // ends with this text (ASCII case ignored), as a class is found only on its class path.
    std::wstring classPathEntry;
    // The superclass, slash form; java/lang/Object when empty. A class may extend a scripted
    // class declared later in the script.
    std::wstring superclass;
    // The named module the class is in: it is found only when that module is in the boot
    // layer. Empty for a class of the class path.
    std::wstring module;

    bool operator==(const JavaClass&) const = default;
};

// A named module the runtime can resolve into its boot layer, as the module system does at VM
// creation: those of the runtime image always, those of the module path when they are a root
// (jdk.module.main, --add-modules) or required by a module that is resolved.
struct JavaModule {
    std::wstring name;
    std::wstring mainClass; // what its descriptor's mainClass() gives (dotted); empty for none
    // Empty: the module is in the runtime image. Otherwise it is found only in an element of
    // --module-path or --upgrade-module-path that ends with this text (ASCII case ignored) and
    // opens, as a module is found only in the folder or jar that holds it.
    std::wstring modulePathEntry;
    std::vector<std::wstring> requiredModules;

    bool operator==(const JavaModule&) const = default;
};

struct Script {
    jint createResult = JNI_OK;                // returned by JNI_CreateJavaVM when not JNI_OK
    std::vector<std::wstring> rejectedOptions; // exact text, or a prefix followed by "*"
    std::vector<std::wstring> acceptedOptions; // accepted although the runtime does not know them
    jint rejectResult = JNI_ERR;               // the result for an unrecognised option
    jint defaultStackSize = 1048576;           // javaStackSize of JNI_GetDefaultJavaVMInitArgs
    unsigned destroyTimeoutMs = 20000;         // longest wait of DestroyJavaVM, then it gives up
    // When not empty, JNI_CreateJavaVM first waits, as Action::WaitFor does, for this file: a
    // VM that takes as long to start as the test wants.
    std::wstring createWaitsFor;
    unsigned createDelayMs = 0;                // JNI_CreateJavaVM takes this long, as a real VM
    std::vector<JavaClass> classes;
    std::vector<JavaModule> modules;
    std::vector<Action> mainActions;
    std::vector<Action> secondaryMainActions;
    std::vector<Action> stopActions;

    bool operator==(const Script&) const = default;
};

// The file format: UTF-8 lines "key=value", values escaped as in TextCodec.h, "#" comments.
//   createResult=N  rejectOption=TEXT  acceptOption=TEXT  rejectResult=N  defaultStackSize=N
//   destroyTimeoutMs=N  createWaitsFor=FILE  createDelayMs=N  class=NAME  static=METHOD
//   instance=METHOD  classPathEntry=TEXT  superclass=NAME  inModule=NAME (these belong to the
//   class of the latest "class" line, which has exactly the methods listed after it),
//   module=NAME  moduleMainClass=NAME  modulePathEntry=TEXT  requires=NAME (the last three
//   belong to the module of the latest "module" line), main.ACTION=VALUE and
//   secondaryMain.ACTION=VALUE and stop.ACTION=VALUE, where ACTION is out, err, printArgs, sleep,
//   thread, daemonThread, throw, cause, exit, exitFromThread, abort, return, waitFor,
//   shutdownHook, readLine or signal.
std::string formatScript(const Script& script);
// False, with a description in `error`, for a line it cannot read.
bool parseScript(std::string_view text, Script& script, std::string& error);

} // namespace testjvm
