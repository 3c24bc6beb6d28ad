// The least a process can do to run a Java application, built as the launcher is, for the
// startup benchmark to measure the launcher against:
//   bare_host <jvm.dll> <class path or @file holding it in UTF-16> <main class in slash form>
// It makes the calls the launch sequence requires at start (the thread locale, the first call
// into the window manager), loads the JVM library, asks it for its default thread stack size,
// creates the VM on a thread with that stack, with the class path and the exit and abort hooks,
// calls main without arguments, and destroys the VM. It marks the same stages as the staged
// launcher (StageMarks.h). Exit code 0, or 1 when a step fails.
#include "StageMarks.h"
#include "jvm/Jni.h"

#include <cstdlib>
#include <string>

namespace {

void JNICALL exitHook(jint) {}
void JNICALL abortHook() {}

std::string ansi(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, bytes.data(), size, nullptr, nullptr);
    bytes.resize(bytes.size() - 1);
    return bytes;
}

// The class path argument, or the text of the file it names after "@" (a class path of
// thousands of jars does not fit on a command line).
std::wstring classPathArgument(const wchar_t* argument) {
    if (argument[0] != L'@')
        return argument;
    HANDLE file = CreateFileW(argument + 1, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::wstring text(GetFileSize(file, nullptr) / sizeof(wchar_t), L'\0');
    DWORD read = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
    CloseHandle(file);
    text.resize(read / sizeof(wchar_t));
    if (!text.empty() && text[0] == 0xFEFF)
        text.erase(0, 1);
    return text;
}

struct Launch {
    JNI_CreateJavaVM_t create = nullptr;
    std::string classPathOption;
    std::string mainClass;
    JavaVM* vm = nullptr;
};

DWORD WINAPI javaMain(void* parameter) {
    Launch& launch = *static_cast<Launch*>(parameter);
    std::string exitName = "exit";
    std::string abortName = "abort";
    JavaVMOption options[] = {
        {launch.classPathOption.data(), nullptr},
        {exitName.data(), reinterpret_cast<void*>(&exitHook)},
        {abortName.data(), reinterpret_cast<void*>(&abortHook)},
    };
    JavaVMInitArgs args{JNI_VERSION_1_2, 3, options, JNI_FALSE};
    JNIEnv* env = nullptr;
    if (launch.create(&launch.vm, reinterpret_cast<void**>(&env), &args) != JNI_OK)
        return 1;
    jclass mainClass = env->FindClass(launch.mainClass.c_str());
    jmethodID main =
        mainClass ? env->GetStaticMethodID(mainClass, "main", "([Ljava/lang/String;)V") : nullptr;
    jclass stringClass = env->FindClass("java/lang/String");
    jobjectArray arguments = stringClass ? env->NewObjectArray(0, stringClass, nullptr) : nullptr;
    if (main && arguments)
        env->CallStaticVoidMethod(mainClass, main, arguments);
    const bool failed = !main || !arguments || env->ExceptionCheck();
    if (env->ExceptionCheck())
        env->ExceptionDescribe();
    launch.vm->DetachCurrentThread();
    return failed ? 1 : 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    StageMarks marks;
    marks.mark("entry");
    SetThreadLocale(GetSystemDefaultLCID());
    DefWindowProcW(nullptr, WM_NULL, 0, 0);
    marks.mark("start");
    if (__argc != 4)
        return 1;
    HMODULE library = LoadLibraryW(__wargv[1]);
    marks.mark("JVM library load");
    if (!library)
        return 1;
    Launch launch;
    launch.create = reinterpret_cast<JNI_CreateJavaVM_t>(
        reinterpret_cast<void*>(GetProcAddress(library, "JNI_CreateJavaVM")));
    const auto defaultArgs = reinterpret_cast<JNI_GetDefaultJavaVMInitArgs_t>(
        reinterpret_cast<void*>(GetProcAddress(library, "JNI_GetDefaultJavaVMInitArgs")));
    launch.classPathOption = "-Djava.class.path=" + ansi(classPathArgument(__wargv[2]).c_str());
    launch.mainClass = ansi(__wargv[3]);
    marks.write();
    if (!launch.create || !defaultArgs)
        return 1;
    JDK1_1InitArgs stack{};
    stack.version = JNI_VERSION_1_1;
    (void)defaultArgs(&stack);
    HANDLE thread = CreateThread(
        nullptr, stack.javaStackSize > 0 ? static_cast<SIZE_T>(stack.javaStackSize) : 0, javaMain,
        &launch, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread)
        return 1;
    WaitForSingleObject(thread, INFINITE);
    DWORD status = 1;
    GetExitCodeThread(thread, &status);
    CloseHandle(thread);
    if (launch.vm)
        launch.vm->DestroyJavaVM();
    return static_cast<int>(status);
}
