#include "jvm/AttachedCalls.h"

#include "jvm/JavaStrings.h"
#include "jvm/LocalReference.h"
#include "jvm/ModifiedUtf8.h"

namespace {

// A thread of the launcher's, attached for as long as this lives.
class AttachedThread {
  public:
    explicit AttachedThread(JavaVM* vm) : vm_(vm) {
        void* env = nullptr;
        if (vm_ && vm_->AttachCurrentThread(&env, nullptr) == JNI_OK)
            env_ = static_cast<JNIEnv*>(env);
    }
    ~AttachedThread() {
        if (env_)
            vm_->DetachCurrentThread();
    }
    AttachedThread(const AttachedThread&) = delete;
    AttachedThread& operator=(const AttachedThread&) = delete;

    JNIEnv* env() const { return env_; }

  private:
    JavaVM* vm_;
    JNIEnv* env_ = nullptr;
};

// What the VM raised goes where the VM prints an exception that ends a thread.
bool describedFailure(JNIEnv* env) {
    if (env->ExceptionCheck())
        env->ExceptionDescribe();
    return false;
}

} // namespace

bool callStaticOnAttachedThread(JavaVM* vm, const std::wstring& className,
                                const std::wstring& methodName,
                                const std::vector<std::wstring>& arguments) {
    const AttachedThread attached(vm);
    JNIEnv* const env = attached.env();
    if (!env)
        return false;
    const LocalReference<jclass> owner(env, env->FindClass(encodeModifiedUtf8(className).c_str()));
    if (!owner)
        return describedFailure(env);
    const jmethodID method =
        env->GetStaticMethodID(owner.get(), encodeModifiedUtf8(methodName).c_str(), "([Ljava/lang/String;)V");
    if (!method)
        return describedFailure(env);
    const LocalReference<jobjectArray> array(env, newStringArray(env, arguments));
    if (!array)
        return describedFailure(env);
    env->CallStaticVoidMethod(owner.get(), method, array.get());
    describedFailure(env);
    return true;
}

void callSystemExit(JavaVM* vm, jint status) {
    const AttachedThread attached(vm);
    JNIEnv* const env = attached.env();
    if (!env)
        return;
    const LocalReference<jclass> system(env, env->FindClass("java/lang/System"));
    const jmethodID exit = system ? env->GetStaticMethodID(system.get(), "exit", "(I)V") : nullptr;
    if (exit)
        env->CallStaticVoidMethod(system.get(), exit, status);
    describedFailure(env);
}
