#include "jvm/StackTraceText.h"

#include "jvm/LocalReference.h"
#include "jvm/ModifiedUtf8.h"

#include <string_view>

namespace {

// A failed step leaves its exception pending; it is printed and cleared so that the Java main
// thread goes on with legal JNI calls.
std::wstring giveUp(JNIEnv* env) {
    if (env->ExceptionCheck())
        env->ExceptionDescribe();
    return {};
}

} // namespace

jobject newPrintStream(JNIEnv* env, jobject outputStream) {
    const LocalReference<jclass> printClass(env, env->FindClass("java/io/PrintStream"));
    if (!printClass)
        return nullptr;
    const jmethodID wrap =
        env->GetMethodID(printClass.get(), "<init>", "(Ljava/io/OutputStream;)V");
    if (!wrap)
        return nullptr;
    return env->NewObject(printClass.get(), wrap, outputStream);
}

std::wstring stackTraceText(jthrowable exception, JNIEnv* env) {
    // The trace is printed into memory through the VM's own PrintStream, so that it reads
    // exactly as the VM prints it, "Caused by:" sections and all.
    const LocalReference<jclass> bytesClass(env, env->FindClass("java/io/ByteArrayOutputStream"));
    if (!bytesClass)
        return giveUp(env);
    const jmethodID newBytes = env->GetMethodID(bytesClass.get(), "<init>", "()V");
    if (!newBytes)
        return giveUp(env);
    const LocalReference<jobject> bytes(env, env->NewObject(bytesClass.get(), newBytes));
    if (!bytes)
        return giveUp(env);
    const LocalReference<jobject> printStream(env, newPrintStream(env, bytes.get()));
    if (!printStream)
        return giveUp(env);

    const LocalReference<jclass> exceptionClass(env, env->GetObjectClass(exception));
    if (!exceptionClass)
        return giveUp(env);
    const jmethodID printStackTrace =
        env->GetMethodID(exceptionClass.get(), "printStackTrace", "(Ljava/io/PrintStream;)V");
    if (!printStackTrace)
        return giveUp(env);
    env->CallVoidMethod(exception, printStackTrace, printStream.get());
    // Whatever was printed before a failure is still worth showing.
    if (env->ExceptionCheck())
        env->ExceptionDescribe();

    const jmethodID toString =
        env->GetMethodID(bytesClass.get(), "toString", "()Ljava/lang/String;");
    if (!toString)
        return giveUp(env);
    const LocalReference<jstring> text(
        env, static_cast<jstring>(env->CallObjectMethod(bytes.get(), toString)));
    if (env->ExceptionCheck())
        env->ExceptionDescribe();
    if (!text)
        return {};
    const char* const utf = env->GetStringUTFChars(text.get(), nullptr);
    if (!utf)
        return giveUp(env);
    std::wstring decoded = decodeModifiedUtf8(std::string_view(utf));
    env->ReleaseStringUTFChars(text.get(), utf);
    return decoded;
}
