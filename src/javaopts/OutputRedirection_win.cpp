// "Output File" and "Error File": files opened through the VM's own stream classes and made
// System.out and System.err, so that everything Java prints from its first line lands there.
// The process's native standard handles are left alone.
#include "javaopts/OutputRedirection.h"

#include "javaopts/FolderChain.h"
#include "jvm/JavaStrings.h"
#include "jvm/LocalReference.h"
#include "jvm/StackTraceText.h"
#include "launcher/Launcher.h"
#include "launcher/UniqueHandle.h"

namespace {

// Prints the pending Java exception, if any, on the VM's standard error; describing it also
// clears it, so that the JNI calls that follow are legal again.
void describePendingException(JNIEnv* env) {
    if (const LocalReference<jthrowable> pending(env, env->ExceptionOccurred()); pending)
        env->ExceptionDescribe();
}

// Opens the file (emptying it) and installs a print stream over it with the static System
// method `setter`. On failure the stream stays as it was and the Java exception, if one was
// raised, is left pending.
bool redirectStandardStream(JNIEnv* env, const std::wstring& path, const char* setter) {
    // The result is not needed: a folder that could not be made shows as the open failing.
    (void)ensureFolders(path);

    const LocalReference<jstring> javaPath(env, newJavaString(env, path));
    if (!javaPath)
        return false;
    const LocalReference<jclass> fileClass(env, env->FindClass("java/io/FileOutputStream"));
    if (!fileClass)
        return false;
    const jmethodID openFile = env->GetMethodID(fileClass.get(), "<init>", "(Ljava/lang/String;)V");
    if (!openFile)
        return false;
    const LocalReference<jobject> file(env,
                                       env->NewObject(fileClass.get(), openFile, javaPath.get()));
    if (!file)
        return false;
    const LocalReference<jobject> printStream(env, newPrintStream(env, file.get()));
    if (!printStream)
        return false;

    const LocalReference<jclass> systemClass(env, env->FindClass("java/lang/System"));
    if (!systemClass)
        return false;
    const jmethodID setStream =
        env->GetStaticMethodID(systemClass.get(), setter, "(Ljava/io/PrintStream;)V");
    if (!setStream)
        return false;
    env->CallStaticVoidMethod(systemClass.get(), setStream, printStream.get());
    const LocalReference<jthrowable> pending(env, env->ExceptionOccurred());
    return !pending;
}

// A failed redirection never stops the launch: the reason is printed where the VM prints
// errors (standard error as it stands, so a failed System.out redirection is described before
// System.err is redirected) and the stream keeps its old target.
bool redirectOrDescribe(JNIEnv* env, const std::wstring& path, const char* setter) {
    if (redirectStandardStream(env, path, setter))
        return true;
    describePendingException(env);
    return false;
}

} // namespace

std::uint32_t ensureFolders(const std::wstring& filePath) {
    if (mayNameExistingFile(filePath)) {
        WIN32_FIND_DATAW found{};
        if (UniqueFind(FindFirstFileW(filePath.c_str(), &found)))
            return 0;
    }
    const FolderOperations operations{
        .createFolder = [](const std::wstring& folder) -> std::uint32_t {
            return CreateDirectoryW(folder.c_str(), nullptr) ? 0 : GetLastError();
        },
        .removeEmptyFolder = [](const std::wstring& folder) { RemoveDirectoryW(folder.c_str()); },
    };
    return createFolderChain(folderChain(filePath), operations);
}

bool Launcher::redirectStandardOutput(const std::wstring& path) {
    return redirectOrDescribe(jniEnv, path, "setOut");
}

bool Launcher::redirectStandardError(const std::wstring& path) {
    return redirectOrDescribe(jniEnv, path, "setErr");
}
