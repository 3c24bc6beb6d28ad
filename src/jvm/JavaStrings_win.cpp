#include "jvm/JavaStrings.h"
#include "jvm/LocalReference.h"

jstring newJavaString(JNIEnv* env, const std::wstring& text) {
    const LocalReference<jclass> stringClass(env, env->FindClass("java/lang/String"));
    if (!stringClass)
        return nullptr;
    const jmethodID fromChars = env->GetMethodID(stringClass.get(), "<init>", "([C)V");
    if (!fromChars)
        return nullptr;
    const auto length = static_cast<jsize>(text.size());
    const LocalReference<jcharArray> chars(env, env->NewCharArray(length));
    if (!chars)
        return nullptr;
    static_assert(sizeof(wchar_t) == sizeof(jchar), "UTF-16 code units are Java chars");
    env->SetCharArrayRegion(chars.get(), 0, length, reinterpret_cast<const jchar*>(text.data()));
    if (env->ExceptionCheck())
        return nullptr;
    return static_cast<jstring>(env->NewObject(stringClass.get(), fromChars, chars.get()));
}

jobjectArray newStringArray(JNIEnv* env, const std::vector<std::wstring>& texts) {
    const LocalReference<jclass> stringClass(env, env->FindClass("java/lang/String"));
    if (!stringClass)
        return nullptr;
    const jobjectArray array =
        env->NewObjectArray(static_cast<jsize>(texts.size()), stringClass.get(), nullptr);
    if (!array)
        return nullptr;
    for (size_t index = 0; index < texts.size(); ++index) {
        const LocalReference<jstring> text(env, newJavaString(env, texts[index]));
        if (!text) {
            env->DeleteLocalRef(array);
            return nullptr;
        }
        env->SetObjectArrayElement(array, static_cast<jsize>(index), text.get());
    }
    return array;
}
