#include "RuntimeFixture.h"

#include "RuntimeFolder.h"

namespace testjvm {

LoadedRuntime::LoadedRuntime(const Script& script, const RuntimeLayout& layout)
    : home_(layOutRuntime(folder_.path(), layout)) {
    if (!home_.empty() && writeScript(home_, script))
        module_ = LoadLibraryW(jvmLibraryOf(home_, layout.jvmFolders.front()).c_str());
}

jint LoadedRuntime::create(const std::vector<VmOption>& options, jint version,
                           bool ignoreUnrecognized) {
    std::vector<std::string> texts;
    for (const VmOption& option : options)
        texts.push_back(option.text);
    std::vector<JavaVMOption> vmOptions;
    for (size_t i = 0; i < options.size(); ++i)
        vmOptions.push_back({texts[i].data(), options[i].extraInfo});
    JavaVMInitArgs args{version, static_cast<jint>(vmOptions.size()), vmOptions.data(),
                        ignoreUnrecognized ? JNI_TRUE : JNI_FALSE};
    const auto createVm = entry<JNI_CreateJavaVM_t>("JNI_CreateJavaVM");
    return createVm(&vm, reinterpret_cast<void**>(&env), &args);
}

Record LoadedRuntime::record() const {
    return readRecord(home_).value_or(Record{});
}

jstring javaString(JNIEnv* env, const std::wstring& text) {
    return env->NewString(reinterpret_cast<const jchar*>(text.data()),
                          static_cast<jsize>(text.size()));
}

jobjectArray stringArray(JNIEnv* env, const std::vector<std::wstring>& texts) {
    jobjectArray array = env->NewObjectArray(static_cast<jsize>(texts.size()),
                                             env->FindClass("java/lang/String"), nullptr);
    for (size_t i = 0; i < texts.size(); ++i)
        env->SetObjectArrayElement(array, static_cast<jsize>(i), javaString(env, texts[i]));
    return array;
}

std::wstring stringText(JNIEnv* env, jstring string) {
    if (!string)
        return L"<null>";
    const jsize length = env->GetStringLength(string);
    std::wstring text(static_cast<size_t>(length), L'\0');
    env->GetStringRegion(string, 0, length, reinterpret_cast<jchar*>(text.data()));
    return text;
}

std::wstring pendingExceptionClass(JNIEnv* env) {
    jthrowable pending = env->ExceptionOccurred();
    if (!pending)
        return {};
    env->ExceptionClear();
    jclass cls = env->GetObjectClass(pending);
    jclass classClass = env->GetObjectClass(cls); // not FindClass: tests count the lookups
    jmethodID getName = env->GetMethodID(classClass, "getName", "()Ljava/lang/String;");
    const std::wstring name =
        stringText(env, static_cast<jstring>(env->CallObjectMethod(cls, getName)));
    env->Throw(pending);
    return name;
}

ProcessResult runProcess(const std::wstring& commandLine, const std::wstring& scratchFolder) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const std::wstring outPath = scratchFolder + L"\\host.out";
    const std::wstring errPath = scratchFolder + L"\\host.err";
    HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE err = CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    std::wstring mutableLine = commandLine;
    ProcessResult result;
    result.exitCode = 0xFFFFFFFF;
    if (CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0)
            TerminateProcess(process.hProcess, 0xDEAD);
        GetExitCodeProcess(process.hProcess, &result.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    CloseHandle(err);
    readWholeFile(outPath, result.standardOutput);
    readWholeFile(errPath, result.standardError);
    return result;
}

} // namespace testjvm
