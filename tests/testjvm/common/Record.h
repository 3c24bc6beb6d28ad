// What the test runtime was given and what it did, as the tests read it back. The runtime
// appends one line per event to "testjvm.record" beside the script, at once (so the record
// survives System.exit and a killed process); parseRecord turns the lines into a Record.
#pragma once

#include "jvm/Jni.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testjvm {

// The exit code of a process that the runtime ended on a JNI rule it cannot go on from.
inline constexpr unsigned long kFatalExitCode = 0x0BADC0DE;

// Line keys. Values are escaped as in TextCodec.h; texts are modified UTF-8; option strings and
// splash file names are the raw bytes the caller passed (escaped byte for byte).
namespace key {
inline constexpr char kLoad[] = "load";                      // process id
inline constexpr char kLoadModule[] = "load.module";         // full path of the loaded jvm.dll
inline constexpr char kDefaultArgs[] = "getDefaultInitArgs"; // version asked for
inline constexpr char kCreateVersion[] = "create.version";   // JavaVMInitArgs.version
inline constexpr char kCreateIgnore[] = "create.ignoreUnrecognized";
inline constexpr char kOption[] = "option";                  // option without extraInfo
inline constexpr char kHookOption[] = "optionWithExtraInfo"; // option with extraInfo
inline constexpr char kCreateThread[] = "create.threadId";
inline constexpr char kCreateStack[] = "create.stackSize"; // reserved stack of that thread
inline constexpr char kCreateDirectory[] = "create.currentDirectory";
inline constexpr char kCreateCodePage[] = "create.codePage"; // GetACP(): what the options are in
inline constexpr char kEnvironment[] = "env"; // NAME=value, one per variable
inline constexpr char kCreateResult[] = "create.result";
inline constexpr char kClassPathMissing[] = "classPath.missing"; // an element that names nothing
inline constexpr char kFindClass[] = "findClass";
inline constexpr char kModuleResolved[] = "module.resolved"; // a module of the boot layer
inline constexpr char kModuleFind[] = "module.find";         // ModuleLayer.findModule: name found|missing
inline constexpr char kModuleForName[] = "module.forName";   // Class.forName(Module, String): module class found|missing
inline constexpr char kCallClass[] = "call.class"; // the Class argument of launch(Class, String[])
inline constexpr char kMethodLookup[] =
    "methodLookup";                           // Class.name(sig) static|instance found|missing
inline constexpr char kCallMethod[] = "call"; // Class.name(sig) of a scripted method
inline constexpr char kCallThread[] = "call.threadId";
inline constexpr char kCallArgumentCount[] = "call.argumentCount"; // -1 for a null array
inline constexpr char kCallArgument[] = "call.argument";
inline constexpr char kCallNullArgument[] = "call.nullArgument";
inline constexpr char kCallResult[] = "call.result"; // value an int method returned
inline constexpr char kStdout[] = "stdout";          // text written to the process's handles
inline constexpr char kStderr[] = "stderr";
inline constexpr char kAttach[] = "attach";     // threadId name daemon|nondaemon
inline constexpr char kDetach[] = "detach";     // threadId
inline constexpr char kExit[] = "exit";         // System.exit status
inline constexpr char kExitHook[] = "exitHook"; // status passed to the hook
inline constexpr char kExitHookReturned[] = "exitHookReturned";
inline constexpr char kAbort[] = "abort";
inline constexpr char kAbortHook[] = "abortHook";
inline constexpr char kDestroyBegin[] = "destroy.begin"; // calling thread id
inline constexpr char kDestroyStillAttached[] =
    "destroy.stillAttached";                                   // threadId name alive|ended
inline constexpr char kDestroyTimedOut[] = "destroy.timedOut"; // ms waited
inline constexpr char kDestroyWaited[] = "destroy.waitedMs";
inline constexpr char kDestroyEnd[] = "destroy.end";               // result
inline constexpr char kUnreleased[] = "destroy.unreleasedStrings"; // GetString*Chars not released
inline constexpr char kViolation[] = "violation";        // a JNI rule broken, the VM went on
inline constexpr char kFatal[] = "fatal";                // the VM ended the process
inline constexpr char kGateWaiting[] = "gate.waiting";   // file name: a wait for it began
inline constexpr char kGatePassed[] = "gate.passed";     // file name: it appeared
inline constexpr char kGateTimedOut[] = "gate.timedOut"; // file name: it never appeared
inline constexpr char kSplashInit[] = "splash.init";
inline constexpr char kSplashLoadFile[] = "splash.loadFile";
inline constexpr char kSplashSetFileJarName[] = "splash.setFileJarName";
inline constexpr char kSplashJarName[] = "splash.jarName";
inline constexpr char kSplashClose[] = "splash.close";
// For the benchmarks: "event ticks", the performance counter as JNI_CreateJavaVM is entered
// ("create") and returns ("created") and as a scripted method is entered ("call"); and the
// process's memory as VM creation begins: its committed private bytes, and the commit charge
// Windows reports (which Wine fills with the private memory actually touched).
inline constexpr char kClock[] = "clock";
inline constexpr char kCreatePrivateBytes[] = "create.privateBytes";
inline constexpr char kCreateCommitCharge[] = "create.commitCharge";
} // namespace key

struct RecordedOption {
    std::string bytes; // as passed, in the caller's ANSI code page
    std::wstring text; // the bytes decoded with the ANSI code page
    bool hasExtraInfo = false;
};

// One call of a scripted Java method (main, secondaryMain or another scripted static method).
struct JavaCall {
    std::wstring method; // "Class.name(descriptor)"
    unsigned long threadId = 0;
    bool nullArray = false;
    std::wstring classArgument;          // launch(Class, String[]): the class, dotted
    std::vector<std::wstring> arguments; // a null element is recorded as an empty string
    std::vector<size_t> nullArguments;   // indexes of null elements
    std::optional<long long> result;     // what an int-returning method returned
};

struct SplashCall {
    std::string function; // "SplashInit", "SplashLoadFile", "SplashSetFileJarName", "SplashClose"
    std::string fileName; // bytes passed (ANSI code page)
    std::string jarName;
};

struct Record {
    std::vector<unsigned long> loads; // process ids that initialised the runtime
    std::vector<std::wstring> loadedModules; // the jvm.dll path each of them loaded
    std::vector<jint> defaultInitArgsVersions;

    // JNI_CreateJavaVM (the last call when there were several).
    int createCalls = 0;
    jint version = 0;
    bool ignoreUnrecognized = false;
    std::vector<RecordedOption> options;
    std::optional<jint> createResult;
    unsigned long createThreadId = 0;
    unsigned long long createStackSize = 0;
    std::wstring currentDirectory;
    unsigned createCodePage = 0; // the process's ANSI code page as the VM was created
    std::vector<std::pair<std::wstring, std::wstring>> environment;
    std::vector<std::wstring> missingClassPathElements; // of a created VM, as decoded

    std::vector<std::wstring> classesLookedUp;
    std::vector<std::wstring> resolvedModules; // the boot layer, in the order resolved
    std::vector<std::wstring> moduleLookups;   // "name found|missing", findModule
    std::vector<std::wstring> moduleClassLookups; // "module class found|missing", forName
    std::vector<std::wstring> methodLookups;
    std::vector<JavaCall> calls;

    std::wstring standardOutput; // what reached the process's standard output handle
    std::wstring standardError;

    std::vector<std::pair<unsigned long, std::wstring>> attached; // thread id, thread name
    std::vector<unsigned long> detached;

    std::vector<long long> exitStatuses;
    std::vector<long long> exitHookStatuses;
    bool exitHookReturned = false;
    bool aborted = false;
    bool abortHookCalled = false;

    bool destroyCalled = false;
    bool destroyReturned = false;
    bool destroyTimedOut = false;
    unsigned long destroyWaitMs = 0;
    std::vector<std::wstring> stillAttachedAtDestroy; // "threadId name alive|ended"
    long long unreleasedStrings = 0;

    std::vector<std::wstring> violations;
    std::vector<std::wstring> fatalErrors;
    std::vector<SplashCall> splashCalls;
    // The files waited for (Action::WaitFor, Script::createWaitsFor), in order.
    std::vector<std::wstring> gatesWaiting;
    std::vector<std::wstring> gatesPassed;
    std::vector<std::wstring> gatesTimedOut;

    std::vector<std::pair<std::string, std::string>> lines; // every line, unescaped

    // The environment variable at VM creation (names compared without regard to ASCII case).
    std::optional<std::wstring> environmentVariable(std::wstring_view name) const;
    // The calls of one method name ("main", "secondaryMain"), in order.
    std::vector<const JavaCall*> callsOf(std::wstring_view methodName) const;
    // The options as texts, in order.
    std::vector<std::wstring> optionTexts() const;
    // The number of the last line with the key, and the ticks of the last "clock" line of the
    // event (key::kClock).
    std::optional<long long> lastNumber(std::string_view key) const;
    std::optional<long long> clockTicks(std::string_view event) const;
};

// `ansiDecode` turns the option bytes into text (the Windows side passes its ANSI decoder).
Record parseRecord(std::string_view text, std::wstring (*ansiDecode)(std::string_view));

// The line formats of the runtime's writer.
std::string recordLine(std::string_view key, std::string_view escapedValue);

} // namespace testjvm
