// The test runtime's one virtual machine: a small object model (classes, strings, arrays,
// throwables and output streams), the attached threads, the script that steers it and the record
// it keeps. Every JNI and invocation function of the runtime works on this state.
#pragma once

#include "Record.h"
#include "RuntimeFolder.h"
#include "Script.h"
#include "jvm/Jni.h"

#include <windows.h>

#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace testjvm {

struct ClassInfo;
struct JavaThread;

enum class ObjectKind {
    Plain,
    Class,
    String,
    CharArray,
    ObjectArray,
    Throwable,
    FileStream,
    ByteStream,
    PrintStream,
};

// One Java object. jobject handles point straight at these; every handle the runtime gives out
// is registered, so a stale or foreign pointer is caught instead of read.
struct Object {
    ClassInfo* cls = nullptr;
    ObjectKind kind = ObjectKind::Plain;
    std::wstring chars;                 // String, CharArray
    std::vector<Object*> elements;      // ObjectArray
    ClassInfo* classValue = nullptr;    // Class: the class this object stands for
    Object* message = nullptr;          // Throwable: a String, or null
    Object* cause = nullptr;            // Throwable
    std::vector<std::wstring> frames;   // Throwable: "pkg.Class.method(File.java)"
    HANDLE file = INVALID_HANDLE_VALUE; // FileStream opened on a file
    int standardStream = 0;             // FileStream over the process's stdout (1) or stderr (2)
    std::string bytes;                  // ByteStream
    Object* target = nullptr;           // PrintStream: the stream it writes to; Optional: value
};

using NativeCode =
    std::function<jvalue(JavaThread& thread, Object* self, const std::vector<jvalue>& args)>;

struct Method {
    ClassInfo* owner = nullptr;
    std::string name;
    std::string descriptor; // "(params)return"
    bool isStatic = false;
    NativeCode code;

    char returnCode() const; // 'V', 'I', 'L' (also for arrays), ...
    std::string parameterCodes() const;
    std::string display() const; // "pkg.Class.name(descriptor)"
};

struct ClassInfo {
    std::string name; // slash form
    ClassInfo* super = nullptr;
    ObjectKind instanceKind = ObjectKind::Plain;
    bool isAbstract = false;
    bool scripted = false;
    std::wstring classPathEntry;
    std::wstring module; // the named module of a scripted class; empty on the class path
    std::vector<std::unique_ptr<Method>> methods;
    Object* mirror = nullptr; // the java.lang.Class object handed out as jclass
};

struct JavaThread {
    JNIEnv_ env{};
    DWORD id = 0;
    HANDLE handle = nullptr; // tells whether the system thread has ended
    std::wstring name;
    bool daemon = false;
    bool attached = true;
    Object* pending = nullptr;
};

class Vm {
  public:
    static Vm& instance();

    std::recursive_mutex lock;
    std::condition_variable_any threadsChanged;

    Script script;
    std::wstring home; // the folder of the script and the record; empty without a script
    enum class State { NotCreated, Alive, Destroyed } state = State::NotCreated;
    JavaVM_ javaVm{};
    void(JNICALL* exitHook)(jint) = nullptr;
    void(JNICALL* abortHook)() = nullptr;
    std::map<std::wstring, std::wstring> properties;
    // The module options: the elements of --module-path and --upgrade-module-path, the names of
    // --add-modules, and the modules resolved from them at creation.
    std::vector<std::wstring> modulePath;
    std::vector<std::wstring> addedModules;
    std::set<std::wstring> bootLayer;
    std::map<std::string, std::unique_ptr<ClassInfo>> classes;
    std::set<const Object*> objects;
    std::set<const Method*> methods;
    std::vector<std::unique_ptr<JavaThread>> threads; // every thread ever attached
    std::set<const void*> stringBuffers;              // GetString*Chars not yet released
    Object* systemOut = nullptr;
    Object* systemErr = nullptr;
    int nextThreadNumber = 0;
    std::vector<std::wstring> shutdownHooks; // what each registered hook prints

    // Record lines, appended to the record file at once.
    void record(std::string_view key, std::string_view escapedValue);
    void recordText(std::string_view key, std::wstring_view text);
    void recordNumber(std::string_view key, long long number);
    void recordBytes(std::string_view key, std::string_view bytes);
    void recordLines(const std::string& lines); // several lines written in one piece
    // A "clock" line: the event and the performance counter at it (now when not given).
    void recordClock(std::string_view event, long long ticks = 0);

  private:
    Vm();
    void loadScript();

    std::unique_ptr<RecordAppender> recordFile_;
    std::mutex recordLock_;
};

// Waits until the file `name` exists in the runtime home, recording the wait; gives up after
// two minutes, so that a test that never opens the gate still ends.
void waitForGate(const std::wstring& name);

// Ends the process the way a VM ends on a fatal JNI error: the message on standard error and in
// the record, then exit code kFatalExitCode.
[[noreturn]] void fatal(const std::string& message);

// The attached thread whose JNIEnv this is, checked to be the calling thread's; fatal otherwise.
JavaThread& threadOf(JNIEnv* env, const char* function);
// The calling thread when it is attached, else null.
JavaThread* currentThread();
JavaThread& attachThread(DWORD id, std::wstring name, bool daemon);
void detachThread(JavaThread& thread);

// Object handles.
Object* checked(jobject ref, const char* function);  // null stays null
Object* required(jobject ref, const char* function); // fatal for null
ClassInfo* classOf(jclass ref, const char* function);
Method* methodOf(jmethodID id, const char* function);
jobject handle(Object* object);

// Classes and objects.
void bootstrapClasses(Vm& vm);
ClassInfo* lookUpClass(const std::string& name); // no recording, no exception
ClassInfo* arrayClassOf(ClassInfo* component);
bool isSubclass(const ClassInfo* cls, const ClassInfo* ancestor);
Method* findMethod(ClassInfo* cls, std::string_view name, std::string_view descriptor,
                   bool isStatic);
Object* newObject(ClassInfo* cls);
Object* newString(std::wstring text);
std::string dotted(std::string_view slashName);

// Throwables.
Object* newThrowable(const std::string& className, std::optional<std::wstring> message,
                     std::vector<std::wstring> frames = {});
void throwNew(JavaThread& thread, const std::string& className,
              std::optional<std::wstring> message);
std::wstring throwableText(Object* throwable);  // toString()
std::wstring stackTraceText(Object* throwable); // what printStackTrace prints
void describeException(JavaThread& thread, bool uncaught);

// Streams. Writes go through the stream's own kind; the process's standard handles also get
// the text into the record.
void writeBytes(JavaThread& thread, Object* stream, const std::string& bytes);
void printLine(JavaThread& thread, Object* printStream, std::wstring_view text);
void writeStandardHandle(int stream, std::wstring_view text);
inline constexpr wchar_t kLineSeparator[] = L"\r\n";

// The non-empty elements of a class path, in order, and whether one names a file or folder
// that exists (a jar that does not open contributes no classes).
std::vector<std::wstring> classPathElements(const std::wstring& classPath);
bool classPathElementOpens(const std::wstring& element);

// Resolves the boot layer once the options are applied; false, with the VM's message on
// standard error, when a root module or one it requires is not found.
bool resolveBootLayer(Vm& vm);
bool isInBootLayer(const std::wstring& module);

// Calls a method with its arguments already unpacked; no lock is held while it runs.
jvalue invokeMethod(JavaThread& thread, Method* method, Object* self,
                    const std::vector<jvalue>& args);

// Console control events, standard input and shutdown hooks (ConsoleControl.cpp).
void installConsoleControlHandler();
// Runs each registered hook once, in the order of registration; later calls run none.
void runShutdownHooks();
std::wstring readStandardInputLine();

// Ends the process as System.exit does: the shutdown hooks, then the exit hook.
[[noreturn]] void systemExit(jint status);
// Ends the process as a VM that aborts: the abort hook, then the exit code (3, as the C
// runtime's abort; HotSpot ends with 1 when it cannot set itself up, a boot layer that cannot
// be resolved, and never returns from JNI_CreateJavaVM then).
[[noreturn]] void vmAbort(unsigned exitCode = 3);

// The runtime's scripted classes and the code of their methods.
NativeCode scriptedMethodCode(Method* method);

const JNINativeInterface_* nativeInterface();
const JNIInvokeInterface_* invokeInterface();

} // namespace testjvm
