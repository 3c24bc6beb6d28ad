#include "jvm/JavaStrings.h"
#include "jvm/LocalReference.h"

namespace {

// On Windows the UTF-16 code units are Java chars as they stand; where a wide character is
// wider (the Linux test host), each is narrowed to its code unit. A template, so that only the
// branch of the program's own character size is compiled.
template <typename Char>
void setJavaChars(JNIEnv* env, jcharArray chars, const std::basic_string<Char>& text) {
    const auto length = static_cast<jsize>(text.size());
    if constexpr (sizeof(Char) == sizeof(jchar)) {
        env->SetCharArrayRegion(chars, 0, length, reinterpret_cast<const jchar*>(text.data()));
    } else {
        const std::vector<jchar> units(text.begin(), text.end());
        env->SetCharArrayRegion(chars, 0, length, units.data());
    }
}

} // namespace

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
    setJavaChars(env, chars.get(), text);
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
