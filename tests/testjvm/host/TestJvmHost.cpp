// A host for the test runtime in a process of its own, for what ends or marks a process:
//   testjvm_host <jvm.dll> run <main class> [arguments...]
//     creates the VM (class path "." and the exit and abort hooks, which print
//     "exit hook <status>" / "abort hook" on standard output), calls main with the arguments,
//     describes an escaping exception, detaches and destroys the VM; exit code 0, or 1 when a
//     step fails.
//   testjvm_host <jvm.dll> unsupported   creates the VM and calls a slot the runtime lacks.
//   testjvm_host <jvm.dll> otherthread   uses the main thread's JNIEnv on another thread.
#include "jvm/Jni.h"

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

namespace {

void print(const std::string& text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

void JNICALL exitHook(jint status) {
    print("exit hook " + std::to_string(status) + "\n");
}
void JNICALL abortHook() {
    print("abort hook\n");
}

std::string utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

int run(JNIEnv* env, JavaVM* vm, int argc, wchar_t** argv) {
    if (argc < 4)
        return 2;
    jclass mainClass = env->FindClass(utf8(argv[3]).c_str());
    if (!mainClass) {
        env->ExceptionDescribe();
        vm->DetachCurrentThread();
        vm->DestroyJavaVM();
        return 1;
    }
    jmethodID main = env->GetStaticMethodID(mainClass, "main", "([Ljava/lang/String;)V");
    jclass stringClass = env->FindClass("java/lang/String");
    jobjectArray arguments = env->NewObjectArray(argc - 4, stringClass, nullptr);
    for (int i = 4; i < argc; ++i) {
        const std::wstring text = argv[i];
        jstring argument = env->NewString(reinterpret_cast<const jchar*>(text.c_str()),
                                          static_cast<jsize>(text.size()));
        env->SetObjectArrayElement(arguments, i - 4, argument);
    }
    if (main)
        env->CallStaticVoidMethod(mainClass, main, arguments);
    if (env->ExceptionCheck())
        env->ExceptionDescribe();
    vm->DetachCurrentThread();
    vm->DestroyJavaVM();
    return main ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return 2;
    HMODULE library = LoadLibraryW(argv[1]);
    if (!library)
        return 3;
    auto create = reinterpret_cast<JNI_CreateJavaVM_t>(
        reinterpret_cast<void*>(GetProcAddress(library, "JNI_CreateJavaVM")));
    if (!create)
        return 3;
    std::string classPath = "-Djava.class.path=.";
    std::string abortName = "abort";
    std::string exitName = "exit";
    JavaVMOption options[] = {
        {classPath.data(), nullptr},
        {abortName.data(), reinterpret_cast<void*>(&abortHook)},
        {exitName.data(), reinterpret_cast<void*>(&exitHook)},
    };
    JavaVMInitArgs args{JNI_VERSION_1_2, 3, options, JNI_FALSE};
    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;
    if (create(&vm, reinterpret_cast<void**>(&env), &args) != JNI_OK)
        return 4;

    const std::wstring mode = argv[2];
    if (mode == L"run")
        return run(env, vm, argc, argv);
    if (mode == L"unsupported") {
        env->functions->GetFieldID(env, env->FindClass("java/lang/String"), "value", "[C");
        return 0;
    }
    if (mode == L"otherthread") {
        std::thread other([env] { env->FindClass("java/lang/String"); });
        other.join();
        return 0;
    }
    return 2;
}
