// The harness the tests use to stand a test Java runtime up in a folder, tell it what to do and
// read back what it was given.
//
// A test lays out a runtime home with layOutRuntime (bin\java.dll, bin\<flavour>\jvm.dll, ...),
// writes a Script into it with writeScript, runs the launcher (or loads bin\...\jvm.dll itself),
// and then reads the Record with readRecord. The runtime reads "testjvm.script" from its home
// when it is first called and appends every event to "testjvm.record" beside it at once, so the
// record is complete even when the process ended through System.exit or was killed.
//
// What the runtime does (details in common/Script.h and common/Record.h):
// - JNI_CreateJavaVM records the version, every option in order (with whether it carries
//   extraInfo), the creating thread and its reserved stack size, the current directory and the
//   whole environment; then it fails with Script::createResult when that is set, or refuses the
//   first option a VM would not take ("Unrecognized option: X" on standard error, result
//   Script::rejectResult; a malformed -Xmx/-Xms/-Xmn/-Xss size gives JNI_EINVAL). It takes the
//   "exit" and "abort" hooks from extraInfo and -D options as system properties.
// - JNI_GetDefaultJavaVMInitArgs with JNI_VERSION_1_1 fills javaStackSize with
//   Script::defaultStackSize (and returns JNI_ERR, as a VM does for that version).
// - FindClass finds the built-in classes (String, System, the output streams, Throwable and the
//   usual exceptions) and the scripted classes, by slash name only; a missing class leaves
//   NoClassDefFoundError pending. GetStaticMethodID/GetMethodID leave NoSuchMethodError pending.
// - FileOutputStream creates or empties its file (FileNotFoundException pending when it cannot),
//   PrintStream wraps a stream, System.setOut/setErr redirect later prints, and
//   ByteArrayOutputStream + PrintStream + printStackTrace + toString give the stack-trace text.
//   Text is encoded as UTF-8 and lines end in "\r\n".
// - Printing to the process's standard handles (System.out/err not redirected, ExceptionDescribe)
//   writes the text to the handles and to the record.
// - DestroyJavaVM waits until every attached non-daemon thread but the caller has detached; a
//   thread that ended without detaching keeps it waiting until Script::destroyTimeoutMs, after
//   which it records which threads were still attached and returns JNI_ERR.
// - Gates: with Script::createWaitsFor, JNI_CreateJavaVM waits until that file exists in the
//   runtime home; Action::waitFor does the same inside a scripted method. The record says where
//   it waits ("gate.waiting"), so a test knows how far a launch has got and decides when it
//   goes on.
// - Any native thread may attach (AttachCurrentThread) and gets an environment of its own; a
//   method it calls runs, and is recorded, on that thread.
// - A JNI slot the runtime does not provide, a JNIEnv used on another thread, an invalid
//   reference or a call of the wrong type ends the process with kFatalExitCode and a "fatal"
//   line; a JNI call made with an exception pending (other than those JNI itself
//   allows) is recorded as a "violation" and the call goes on.
#pragma once

#include "Record.h"
#include "Script.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testjvm {

// The folder where the build put the runtime's libraries: the folder "testjvm" beside this
// program, or the folder named by the environment variable QOVA_TESTJVM_DIR.
std::wstring builtRuntimeFolder();

enum class JvmLibrary {
    Working,           // the test runtime
    NoJniExports,      // a library without the invocation exports
    CreateOnly,        // exports JNI_CreateJavaVM but not JNI_GetDefaultJavaVMInitArgs
    MissingDependency, // imports from a library that is nowhere to be found
};

enum class SplashLibrary {
    None,
    Complete,    // SplashInit, SplashLoadFile, SplashSetFileJarName, SplashClose
    WithoutInit, // the same without SplashInit
    InitFails,   // SplashInit reports failure (a result the caller is free to ignore)
};

struct RuntimeLayout {
    // One bin\<folder>\jvm.dll for each: "server", "client", "classic", "hotspot", "jrockit".
    std::vector<std::wstring> jvmFolders{L"server"};
    bool javaLibrary = true;     // bin\java.dll, which marks a folder as a runtime home
    bool developmentKit = false; // the runtime lies in the kit's "jre" folder
    JvmLibrary jvmLibrary = JvmLibrary::Working;
    SplashLibrary splash = SplashLibrary::None; // bin\splashscreen.dll
    // Where the libraries are copied from: empty for this build's (builtRuntimeFolder()), or
    // the test runtime of another build, such as the 32-bit one beside the 64-bit build.
    std::wstring builtFolder;
};

// Lays a runtime out in `folder` (created when missing) and returns its runtime home, ending in
// "\": the folder itself, or folder\jre\ for a development kit. Empty when a file could not be
// copied.
std::wstring layOutRuntime(const std::wstring& folder, const RuntimeLayout& layout = {});

// runtimeHome + "bin\" + jvmFolder + "\jvm.dll"
std::wstring jvmLibraryOf(const std::wstring& runtimeHome,
                          const std::wstring& jvmFolder = L"server");

// Writes the script into the runtime home and removes an earlier record.
[[nodiscard]] bool writeScript(const std::wstring& runtimeHome, const Script& script);
void clearRecord(const std::wstring& runtimeHome);
// Empty when the runtime wrote nothing.
std::optional<Record> readRecord(const std::wstring& runtimeHome);

// Text in the ANSI code page, as the launcher passes VM options.
std::wstring fromAnsi(std::string_view bytes);
std::string toAnsi(std::wstring_view text);

// A file with the headers of a DLL built for the architecture of this build's paired launcher:
// x86 in an x64 process, x64 in a 32-bit or an ARM64 one. This process cannot load it.
[[nodiscard]] bool writeOtherArchitectureLibrary(const std::wstring& path);

} // namespace testjvm
