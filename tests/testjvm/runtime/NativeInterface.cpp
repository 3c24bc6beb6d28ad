// The JNIEnv function table of the test runtime. The functions a launcher has reason to call
// behave as a VM's do (exceptions left pending where JNI prescribes it); every other
// slot ends the process with the slot's name, so an unexpected call cannot pass unnoticed.
#include "Record.h"
#include "SlotNames.h"
#include "TextCodec.h"
#include "Vm.h"

#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <utility>

namespace testjvm {

namespace {

// The functions that may be called with an exception pending, as JNI defines them.
JavaThread& enter(JNIEnv* env, const char* function, bool allowedWithPending = false) {
    JavaThread& thread = threadOf(env, function);
    if (thread.pending && !allowedWithPending)
        Vm::instance().recordText(
            key::kViolation, fromUtf8(std::string(function) + " called with an exception pending"));
    return thread;
}

jclass mirrorOf(ClassInfo* cls) {
    return reinterpret_cast<jclass>(cls ? cls->mirror : nullptr);
}

Object* stringArgument(jobject ref, const char* function) {
    Object* object = required(ref, function);
    if (object->kind != ObjectKind::String)
        fatal(std::string(function) + ": not a java.lang.String");
    return object;
}

// A scripted class is found only in an element that ends with its entry and opens, as a
// real class is found only in a jar the VM can open.
bool onClassPath(const std::wstring& entry) {
    Vm& vm = Vm::instance();
    std::lock_guard guard(vm.lock);
    const auto lower = [](std::wstring text) {
        for (wchar_t& c : text)
            c = c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c;
        return text;
    };
    const std::wstring wanted = lower(entry);
    for (const std::wstring& element : classPathElements(vm.properties[L"java.class.path"]))
        if (lower(element).ends_with(wanted) && classPathElementOpens(element))
            return true;
    return false;
}

// ---- classes ----

jint JNICALL getVersion(JNIEnv* env) {
    enter(env, "GetVersion");
    return JNI_VERSION_21;
}

jclass JNICALL findClass(JNIEnv* env, const char* name) {
    JavaThread& thread = enter(env, "FindClass");
    if (!name)
        fatal("FindClass: null name");
    const std::wstring text = fromModifiedUtf8(name);
    Vm::instance().recordText(key::kFindClass, text);
    // Class names travel in slash form; a dotted name names no class.
    ClassInfo* cls = std::strchr(name, '.') ? nullptr : lookUpClass(name);
    if (cls && cls->scripted && !cls->classPathEntry.empty() && !onClassPath(cls->classPathEntry))
        cls = nullptr;
    // A class of a named module is there only when its module is in the boot layer.
    if (cls && cls->scripted && !cls->module.empty() && !isInBootLayer(cls->module))
        cls = nullptr;
    if (!cls) {
        Object* error = newThrowable("java/lang/NoClassDefFoundError", text);
        error->cause =
            newThrowable("java/lang/ClassNotFoundException", fromModifiedUtf8(dotted(name)),
                         {L"java.lang.ClassLoader.loadClass(ClassLoader.java)",
                          L"java.lang.ClassLoader.loadClass(ClassLoader.java)"});
        thread.pending = error;
        return nullptr;
    }
    return mirrorOf(cls);
}

jclass JNICALL getSuperclass(JNIEnv* env, jclass sub) {
    enter(env, "GetSuperclass");
    return mirrorOf(classOf(sub, "GetSuperclass")->super);
}

jboolean JNICALL isAssignableFrom(JNIEnv* env, jclass sub, jclass sup) {
    enter(env, "IsAssignableFrom");
    return isSubclass(classOf(sub, "IsAssignableFrom"), classOf(sup, "IsAssignableFrom"));
}

jclass JNICALL getObjectClass(JNIEnv* env, jobject obj) {
    enter(env, "GetObjectClass");
    return mirrorOf(required(obj, "GetObjectClass")->cls);
}

jboolean JNICALL isInstanceOf(JNIEnv* env, jobject obj, jclass clazz) {
    enter(env, "IsInstanceOf");
    ClassInfo* cls = classOf(clazz, "IsInstanceOf");
    Object* object = checked(obj, "IsInstanceOf");
    return !object || isSubclass(object->cls, cls);
}

// ---- exceptions ----

jint JNICALL throwObject(JNIEnv* env, jthrowable obj) {
    JavaThread& thread = enter(env, "Throw");
    Object* throwable = required(obj, "Throw");
    if (throwable->kind != ObjectKind::Throwable)
        fatal("Throw: not a java.lang.Throwable");
    thread.pending = throwable;
    return JNI_OK;
}

jint JNICALL throwNewObject(JNIEnv* env, jclass clazz, const char* msg) {
    JavaThread& thread = enter(env, "ThrowNew");
    ClassInfo* cls = classOf(clazz, "ThrowNew");
    if (cls->instanceKind != ObjectKind::Throwable &&
        !isSubclass(cls, lookUpClass("java/lang/Throwable")))
        fatal("ThrowNew: not a Throwable class");
    Object* throwable = newObject(cls);
    if (msg)
        throwable->message = newString(fromModifiedUtf8(msg));
    thread.pending = throwable;
    return JNI_OK;
}

jthrowable JNICALL exceptionOccurred(JNIEnv* env) {
    return reinterpret_cast<jthrowable>(enter(env, "ExceptionOccurred", true).pending);
}

void JNICALL exceptionDescribe(JNIEnv* env) {
    describeException(enter(env, "ExceptionDescribe", true), false);
}

void JNICALL exceptionClear(JNIEnv* env) {
    enter(env, "ExceptionClear", true).pending = nullptr;
}

jboolean JNICALL exceptionCheck(JNIEnv* env) {
    return enter(env, "ExceptionCheck", true).pending != nullptr;
}

void JNICALL fatalError(JNIEnv* env, const char* msg) {
    enter(env, "FatalError", true);
    fatal(std::string("FatalError called: ") + (msg ? msg : ""));
}

// ---- references: objects live as long as the process, so references only need checking ----

jint JNICALL pushLocalFrame(JNIEnv* env, jint capacity) {
    enter(env, "PushLocalFrame", true);
    return capacity < 0 ? JNI_ERR : JNI_OK;
}

jobject JNICALL popLocalFrame(JNIEnv* env, jobject result) {
    enter(env, "PopLocalFrame", true);
    return handle(checked(result, "PopLocalFrame"));
}

jobject JNICALL newGlobalRef(JNIEnv* env, jobject obj) {
    enter(env, "NewGlobalRef");
    return handle(checked(obj, "NewGlobalRef"));
}

void JNICALL deleteGlobalRef(JNIEnv* env, jobject obj) {
    enter(env, "DeleteGlobalRef", true);
    checked(obj, "DeleteGlobalRef");
}

void JNICALL deleteLocalRef(JNIEnv* env, jobject obj) {
    enter(env, "DeleteLocalRef", true);
    checked(obj, "DeleteLocalRef");
}

jboolean JNICALL isSameObject(JNIEnv* env, jobject a, jobject b) {
    enter(env, "IsSameObject");
    return checked(a, "IsSameObject") == checked(b, "IsSameObject");
}

jobject JNICALL newLocalRef(JNIEnv* env, jobject obj) {
    enter(env, "NewLocalRef");
    return handle(checked(obj, "NewLocalRef"));
}

jint JNICALL ensureLocalCapacity(JNIEnv* env, jint capacity) {
    enter(env, "EnsureLocalCapacity");
    return capacity < 0 ? JNI_ERR : JNI_OK;
}

jweak JNICALL newWeakGlobalRef(JNIEnv* env, jobject obj) {
    enter(env, "NewWeakGlobalRef");
    return handle(checked(obj, "NewWeakGlobalRef"));
}

void JNICALL deleteWeakGlobalRef(JNIEnv* env, jweak obj) {
    enter(env, "DeleteWeakGlobalRef", true);
    checked(obj, "DeleteWeakGlobalRef");
}

jobjectRefType JNICALL getObjectRefType(JNIEnv* env, jobject obj) {
    enter(env, "GetObjectRefType");
    return checked(obj, "GetObjectRefType") ? JNILocalRefType : JNIInvalidRefType;
}

// ---- methods and calls ----

jmethodID lookUpMethod(JNIEnv* env, jclass clazz, const char* name, const char* sig, bool isStatic,
                       const char* function) {
    JavaThread& thread = enter(env, function);
    ClassInfo* cls = classOf(clazz, function);
    if (!name || !sig)
        fatal(std::string(function) + ": null name or signature");
    Method* method = findMethod(cls, name, sig, isStatic);
    Vm::instance().recordText(key::kMethodLookup,
                              fromModifiedUtf8(dotted(cls->name) + "." + name + sig + " " +
                                               (isStatic ? "static " : "instance ") +
                                               (method ? "found" : "missing")));
    if (!method) {
        thread.pending = newThrowable("java/lang/NoSuchMethodError", fromModifiedUtf8(name));
        return nullptr;
    }
    return reinterpret_cast<jmethodID>(method);
}

jmethodID JNICALL getMethodID(JNIEnv* env, jclass clazz, const char* name, const char* sig) {
    return lookUpMethod(env, clazz, name, sig, false, "GetMethodID");
}

jmethodID JNICALL getStaticMethodID(JNIEnv* env, jclass clazz, const char* name, const char* sig) {
    return lookUpMethod(env, clazz, name, sig, true, "GetStaticMethodID");
}

// The arguments as the method's descriptor says they were passed: promoted through "..." or a
// va_list, or one jvalue each.
std::vector<jvalue> unpack(Method* method, va_list* list, const jvalue* array) {
    std::vector<jvalue> args;
    for (char code : method->parameterCodes()) {
        jvalue value{};
        if (array) {
            value = *array++;
        } else {
            switch (code) {
            case 'Z':
                value.z = static_cast<jboolean>(va_arg(*list, int));
                break;
            case 'B':
                value.b = static_cast<jbyte>(va_arg(*list, int));
                break;
            case 'C':
                value.c = static_cast<jchar>(va_arg(*list, int));
                break;
            case 'S':
                value.s = static_cast<jshort>(va_arg(*list, int));
                break;
            case 'I':
                value.i = va_arg(*list, jint);
                break;
            case 'J':
                value.j = va_arg(*list, jlong);
                break;
            case 'F':
                value.f = static_cast<jfloat>(va_arg(*list, double));
                break;
            case 'D':
                value.d = va_arg(*list, double);
                break;
            default:
                value.l = va_arg(*list, jobject);
                break;
            }
        }
        if (code == 'L')
            checked(value.l, method->name.c_str());
        args.push_back(value);
    }
    return args;
}

// Runs the method with the thread's earlier exception (if any) set aside: a new exception
// replaces it, otherwise it is still pending afterwards.
jvalue run(JavaThread& thread, Method* method, Object* self, const std::vector<jvalue>& args) {
    Object* earlier = thread.pending;
    thread.pending = nullptr;
    const jvalue result = invokeMethod(thread, method, self, args);
    if (!thread.pending)
        thread.pending = earlier;
    return result;
}

enum class Dispatch { Virtual, Nonvirtual, Static };

jvalue call(JNIEnv* env, Dispatch dispatch, jobject target, jmethodID id, va_list* list,
            const jvalue* array, char expectedReturn) {
    const char* function = dispatch == Dispatch::Static       ? "CallStatic<Type>Method"
                           : dispatch == Dispatch::Nonvirtual ? "CallNonvirtual<Type>Method"
                                                              : "Call<Type>Method";
    JavaThread& thread = enter(env, function);
    Method* method = methodOf(id, function);
    if (method->returnCode() != expectedReturn)
        fatal(std::string(function) + " used for " + method->display() +
              ", which returns another type");
    Object* self = nullptr;
    if (dispatch == Dispatch::Static) {
        classOf(reinterpret_cast<jclass>(target), function);
        if (!method->isStatic)
            fatal(std::string(function) + " used for the instance method " + method->display());
    } else {
        self = required(target, function);
        if (method->isStatic)
            fatal(std::string(function) + " used for the static method " + method->display());
        if (!isSubclass(self->cls, method->owner))
            fatal(std::string(function) + ": the object is not a " + dotted(method->owner->name));
        if (dispatch == Dispatch::Virtual)
            if (Method* own = findMethod(self->cls, method->name, method->descriptor, false))
                method = own;
    }
    return run(thread, method, self, unpack(method, list, array));
}

template <typename R> struct JavaType;
template <> struct JavaType<jobject> {
    static constexpr char code = 'L';
    static jobject from(jvalue v) { return v.l; }
};
template <> struct JavaType<jboolean> {
    static constexpr char code = 'Z';
    static jboolean from(jvalue v) { return v.z; }
};
template <> struct JavaType<jbyte> {
    static constexpr char code = 'B';
    static jbyte from(jvalue v) { return v.b; }
};
template <> struct JavaType<jchar> {
    static constexpr char code = 'C';
    static jchar from(jvalue v) { return v.c; }
};
template <> struct JavaType<jshort> {
    static constexpr char code = 'S';
    static jshort from(jvalue v) { return v.s; }
};
template <> struct JavaType<jint> {
    static constexpr char code = 'I';
    static jint from(jvalue v) { return v.i; }
};
template <> struct JavaType<jlong> {
    static constexpr char code = 'J';
    static jlong from(jvalue v) { return v.j; }
};
template <> struct JavaType<jfloat> {
    static constexpr char code = 'F';
    static jfloat from(jvalue v) { return v.f; }
};
template <> struct JavaType<jdouble> {
    static constexpr char code = 'D';
    static jdouble from(jvalue v) { return v.d; }
};
template <> struct JavaType<void> { static constexpr char code = 'V'; };

template <typename R> R finish(jvalue value) {
    if constexpr (std::is_void_v<R>)
        return;
    else
        return JavaType<R>::from(value);
}

template <typename R> R JNICALL callVirtual(JNIEnv* env, jobject obj, jmethodID id, ...) {
    va_list list;
    va_start(list, id);
    const jvalue result = call(env, Dispatch::Virtual, obj, id, &list, nullptr, JavaType<R>::code);
    va_end(list);
    return finish<R>(result);
}

template <typename R> R JNICALL callVirtualV(JNIEnv* env, jobject obj, jmethodID id, va_list args) {
    va_list list;
    va_copy(list, args);
    const jvalue result = call(env, Dispatch::Virtual, obj, id, &list, nullptr, JavaType<R>::code);
    va_end(list);
    return finish<R>(result);
}

template <typename R>
R JNICALL callVirtualA(JNIEnv* env, jobject obj, jmethodID id, const jvalue* args) {
    return finish<R>(call(env, Dispatch::Virtual, obj, id, nullptr, args, JavaType<R>::code));
}

template <typename R>
R JNICALL callNonvirtual(JNIEnv* env, jobject obj, jclass, jmethodID id, ...) {
    va_list list;
    va_start(list, id);
    const jvalue result =
        call(env, Dispatch::Nonvirtual, obj, id, &list, nullptr, JavaType<R>::code);
    va_end(list);
    return finish<R>(result);
}

template <typename R>
R JNICALL callNonvirtualV(JNIEnv* env, jobject obj, jclass, jmethodID id, va_list args) {
    va_list list;
    va_copy(list, args);
    const jvalue result =
        call(env, Dispatch::Nonvirtual, obj, id, &list, nullptr, JavaType<R>::code);
    va_end(list);
    return finish<R>(result);
}

template <typename R>
R JNICALL callNonvirtualA(JNIEnv* env, jobject obj, jclass, jmethodID id, const jvalue* args) {
    return finish<R>(call(env, Dispatch::Nonvirtual, obj, id, nullptr, args, JavaType<R>::code));
}

template <typename R> R JNICALL callStatic(JNIEnv* env, jclass clazz, jmethodID id, ...) {
    va_list list;
    va_start(list, id);
    const jvalue result = call(env, Dispatch::Static, clazz, id, &list, nullptr, JavaType<R>::code);
    va_end(list);
    return finish<R>(result);
}

template <typename R> R JNICALL callStaticV(JNIEnv* env, jclass clazz, jmethodID id, va_list args) {
    va_list list;
    va_copy(list, args);
    const jvalue result = call(env, Dispatch::Static, clazz, id, &list, nullptr, JavaType<R>::code);
    va_end(list);
    return finish<R>(result);
}

template <typename R>
R JNICALL callStaticA(JNIEnv* env, jclass clazz, jmethodID id, const jvalue* args) {
    return finish<R>(call(env, Dispatch::Static, clazz, id, nullptr, args, JavaType<R>::code));
}

jobject construct(JNIEnv* env, jclass clazz, jmethodID id, va_list* list, const jvalue* array,
                  const char* function) {
    JavaThread& thread = enter(env, function);
    ClassInfo* cls = classOf(clazz, function);
    Method* constructor = methodOf(id, function);
    if (constructor->name != "<init>" || constructor->owner != cls)
        fatal(std::string(function) + " given " + constructor->display() +
              ", which is not a constructor of " + dotted(cls->name));
    const std::vector<jvalue> args = unpack(constructor, list, array);
    if (cls->isAbstract) {
        thread.pending =
            newThrowable("java/lang/InstantiationException", fromModifiedUtf8(dotted(cls->name)));
        return nullptr;
    }
    Object* object = newObject(cls);
    Object* earlier = thread.pending;
    thread.pending = nullptr;
    invokeMethod(thread, constructor, object, args);
    if (thread.pending)
        return nullptr;
    thread.pending = earlier;
    return handle(object);
}

jobject JNICALL newObjectVariadic(JNIEnv* env, jclass clazz, jmethodID id, ...) {
    va_list list;
    va_start(list, id);
    jobject result = construct(env, clazz, id, &list, nullptr, "NewObject");
    va_end(list);
    return result;
}

jobject JNICALL newObjectV(JNIEnv* env, jclass clazz, jmethodID id, va_list args) {
    va_list list;
    va_copy(list, args);
    jobject result = construct(env, clazz, id, &list, nullptr, "NewObjectV");
    va_end(list);
    return result;
}

jobject JNICALL newObjectA(JNIEnv* env, jclass clazz, jmethodID id, const jvalue* args) {
    return construct(env, clazz, id, nullptr, args, "NewObjectA");
}

jobject JNICALL allocObject(JNIEnv* env, jclass clazz) {
    JavaThread& thread = enter(env, "AllocObject");
    ClassInfo* cls = classOf(clazz, "AllocObject");
    if (cls->isAbstract) {
        thread.pending =
            newThrowable("java/lang/InstantiationException", fromModifiedUtf8(dotted(cls->name)));
        return nullptr;
    }
    return handle(newObject(cls));
}

// ---- strings ----

void keepBuffer(const void* buffer) {
    Vm& vm = Vm::instance();
    std::lock_guard guard(vm.lock);
    vm.stringBuffers.insert(buffer);
}

void releaseBuffer(const void* buffer, const char* function) {
    Vm& vm = Vm::instance();
    std::lock_guard guard(vm.lock);
    if (!vm.stringBuffers.erase(buffer))
        fatal(std::string(function) + ": not a buffer this VM handed out");
}

jstring JNICALL newStringFromChars(JNIEnv* env, const jchar* unicode, jsize len) {
    enter(env, "NewString");
    if (len < 0 || (len > 0 && !unicode))
        fatal("NewString: invalid characters or length");
    return reinterpret_cast<jstring>(newString(
        std::wstring(reinterpret_cast<const wchar_t*>(unicode), static_cast<size_t>(len))));
}

jsize JNICALL getStringLength(JNIEnv* env, jstring str) {
    enter(env, "GetStringLength");
    return static_cast<jsize>(stringArgument(str, "GetStringLength")->chars.size());
}

const jchar* JNICALL getStringChars(JNIEnv* env, jstring str, jboolean* isCopy) {
    enter(env, "GetStringChars");
    const std::wstring& chars = stringArgument(str, "GetStringChars")->chars;
    auto* copy = new jchar[chars.size() + 1];
    std::memcpy(copy, chars.c_str(), (chars.size() + 1) * sizeof(jchar));
    keepBuffer(copy);
    if (isCopy)
        *isCopy = JNI_TRUE;
    return copy;
}

void JNICALL releaseStringChars(JNIEnv* env, jstring str, const jchar* chars) {
    enter(env, "ReleaseStringChars", true);
    stringArgument(str, "ReleaseStringChars");
    releaseBuffer(chars, "ReleaseStringChars");
    delete[] chars;
}

const jchar* JNICALL getStringCritical(JNIEnv* env, jstring str, jboolean* isCopy) {
    return getStringChars(env, str, isCopy);
}

void JNICALL releaseStringCritical(JNIEnv* env, jstring str, const jchar* chars) {
    releaseStringChars(env, str, chars);
}

jstring JNICALL newStringUTF(JNIEnv* env, const char* utf) {
    enter(env, "NewStringUTF");
    return utf ? reinterpret_cast<jstring>(newString(fromModifiedUtf8(utf))) : nullptr;
}

jsize JNICALL getStringUTFLength(JNIEnv* env, jstring str) {
    enter(env, "GetStringUTFLength");
    return static_cast<jsize>(
        toModifiedUtf8(stringArgument(str, "GetStringUTFLength")->chars).size());
}

const char* JNICALL getStringUTFChars(JNIEnv* env, jstring str, jboolean* isCopy) {
    enter(env, "GetStringUTFChars");
    const std::string bytes = toModifiedUtf8(stringArgument(str, "GetStringUTFChars")->chars);
    auto* copy = static_cast<char*>(std::malloc(bytes.size() + 1));
    std::memcpy(copy, bytes.c_str(), bytes.size() + 1);
    keepBuffer(copy);
    if (isCopy)
        *isCopy = JNI_TRUE;
    return copy;
}

void JNICALL releaseStringUTFChars(JNIEnv* env, jstring str, const char* chars) {
    enter(env, "ReleaseStringUTFChars", true);
    stringArgument(str, "ReleaseStringUTFChars");
    releaseBuffer(chars, "ReleaseStringUTFChars");
    std::free(const_cast<char*>(chars));
}

bool regionOutOfBounds(JavaThread& thread, jsize start, jsize len, size_t size,
                       const char* exception) {
    if (start >= 0 && len >= 0 && static_cast<size_t>(start) + static_cast<size_t>(len) <= size)
        return false;
    throwNew(thread, exception,
             L"Array region " + std::to_wstring(start) + L".." +
                 std::to_wstring(static_cast<long long>(start) + len) +
                 L" out of bounds for length " + std::to_wstring(size));
    return true;
}

void JNICALL getStringRegion(JNIEnv* env, jstring str, jsize start, jsize len, jchar* buf) {
    JavaThread& thread = enter(env, "GetStringRegion");
    const std::wstring& chars = stringArgument(str, "GetStringRegion")->chars;
    if (!regionOutOfBounds(thread, start, len, chars.size(),
                           "java/lang/StringIndexOutOfBoundsException"))
        std::memcpy(buf, chars.data() + start, static_cast<size_t>(len) * sizeof(jchar));
}

void JNICALL getStringUTFRegion(JNIEnv* env, jstring str, jsize start, jsize len, char* buf) {
    JavaThread& thread = enter(env, "GetStringUTFRegion");
    const std::wstring& chars = stringArgument(str, "GetStringUTFRegion")->chars;
    if (regionOutOfBounds(thread, start, len, chars.size(),
                          "java/lang/StringIndexOutOfBoundsException"))
        return;
    const std::string bytes = toModifiedUtf8(std::wstring_view(chars).substr(start, len));
    std::memcpy(buf, bytes.c_str(), bytes.size() + 1);
}

// ---- arrays ----

Object* arrayArgument(jobject ref, ObjectKind kind, const char* function) {
    Object* array = required(ref, function);
    if (array->kind != kind)
        fatal(std::string(function) + ": not an array of the right type");
    return array;
}

jsize JNICALL getArrayLength(JNIEnv* env, jarray array) {
    enter(env, "GetArrayLength");
    Object* object = required(array, "GetArrayLength");
    if (object->kind == ObjectKind::ObjectArray)
        return static_cast<jsize>(object->elements.size());
    if (object->kind == ObjectKind::CharArray)
        return static_cast<jsize>(object->chars.size());
    fatal("GetArrayLength: not an array");
}

jobjectArray JNICALL newObjectArray(JNIEnv* env, jsize len, jclass clazz, jobject init) {
    JavaThread& thread = enter(env, "NewObjectArray");
    ClassInfo* component = classOf(clazz, "NewObjectArray");
    Object* initial = checked(init, "NewObjectArray");
    if (len < 0) {
        throwNew(thread, "java/lang/NegativeArraySizeException", std::to_wstring(len));
        return nullptr;
    }
    if (initial && !isSubclass(initial->cls, component)) {
        throwNew(thread, "java/lang/ArrayStoreException",
                 fromModifiedUtf8(dotted(initial->cls->name)));
        return nullptr;
    }
    Object* array = newObject(arrayClassOf(component));
    array->elements.assign(static_cast<size_t>(len), initial);
    return reinterpret_cast<jobjectArray>(array);
}

bool indexOutOfBounds(JavaThread& thread, jsize index, size_t size) {
    if (index >= 0 && static_cast<size_t>(index) < size)
        return false;
    throwNew(thread, "java/lang/ArrayIndexOutOfBoundsException",
             L"Index " + std::to_wstring(index) + L" out of bounds for length " +
                 std::to_wstring(size));
    return true;
}

jobject JNICALL getObjectArrayElement(JNIEnv* env, jobjectArray array, jsize index) {
    JavaThread& thread = enter(env, "GetObjectArrayElement");
    Object* object = arrayArgument(array, ObjectKind::ObjectArray, "GetObjectArrayElement");
    if (indexOutOfBounds(thread, index, object->elements.size()))
        return nullptr;
    return handle(object->elements[static_cast<size_t>(index)]);
}

void JNICALL setObjectArrayElement(JNIEnv* env, jobjectArray array, jsize index, jobject val) {
    JavaThread& thread = enter(env, "SetObjectArrayElement");
    Object* object = arrayArgument(array, ObjectKind::ObjectArray, "SetObjectArrayElement");
    Object* value = checked(val, "SetObjectArrayElement");
    if (indexOutOfBounds(thread, index, object->elements.size()))
        return;
    ClassInfo* component = lookUpClass(object->cls->name.substr(2, object->cls->name.size() - 3));
    if (value && component && !isSubclass(value->cls, component)) {
        throwNew(thread, "java/lang/ArrayStoreException",
                 fromModifiedUtf8(dotted(value->cls->name)));
        return;
    }
    object->elements[static_cast<size_t>(index)] = value;
}

jcharArray JNICALL newCharArray(JNIEnv* env, jsize len) {
    JavaThread& thread = enter(env, "NewCharArray");
    if (len < 0) {
        throwNew(thread, "java/lang/NegativeArraySizeException", std::to_wstring(len));
        return nullptr;
    }
    Object* array = newObject(lookUpClass("[C"));
    array->chars.assign(static_cast<size_t>(len), L'\0');
    return reinterpret_cast<jcharArray>(array);
}

void JNICALL getCharArrayRegion(JNIEnv* env, jcharArray array, jsize start, jsize len, jchar* buf) {
    JavaThread& thread = enter(env, "GetCharArrayRegion");
    Object* object = arrayArgument(array, ObjectKind::CharArray, "GetCharArrayRegion");
    if (!regionOutOfBounds(thread, start, len, object->chars.size(),
                           "java/lang/ArrayIndexOutOfBoundsException"))
        std::memcpy(buf, object->chars.data() + start, static_cast<size_t>(len) * sizeof(jchar));
}

void JNICALL setCharArrayRegion(JNIEnv* env, jcharArray array, jsize start, jsize len,
                                const jchar* buf) {
    JavaThread& thread = enter(env, "SetCharArrayRegion");
    Object* object = arrayArgument(array, ObjectKind::CharArray, "SetCharArrayRegion");
    if (!regionOutOfBounds(thread, start, len, object->chars.size(),
                           "java/lang/ArrayIndexOutOfBoundsException"))
        std::memcpy(object->chars.data() + start, buf, static_cast<size_t>(len) * sizeof(jchar));
}

jchar* JNICALL getCharArrayElements(JNIEnv* env, jcharArray array, jboolean* isCopy) {
    enter(env, "GetCharArrayElements");
    Object* object = arrayArgument(array, ObjectKind::CharArray, "GetCharArrayElements");
    auto* copy = new jchar[object->chars.size() + 1];
    std::memcpy(copy, object->chars.c_str(), (object->chars.size() + 1) * sizeof(jchar));
    keepBuffer(copy);
    if (isCopy)
        *isCopy = JNI_TRUE;
    return copy;
}

void JNICALL releaseCharArrayElements(JNIEnv* env, jcharArray array, jchar* elems, jint mode) {
    enter(env, "ReleaseCharArrayElements", true);
    Object* object = arrayArgument(array, ObjectKind::CharArray, "ReleaseCharArrayElements");
    if (mode == 0 || mode == JNI_COMMIT)
        std::memcpy(object->chars.data(), elems, object->chars.size() * sizeof(jchar));
    if (mode != JNI_COMMIT) {
        releaseBuffer(elems, "ReleaseCharArrayElements");
        delete[] elems;
    }
}

jint JNICALL getJavaVM(JNIEnv* env, JavaVM** vm) {
    enter(env, "GetJavaVM");
    if (!vm)
        fatal("GetJavaVM: null result pointer");
    *vm = &Vm::instance().javaVm;
    return JNI_OK;
}

// ---- the slots nobody should call ----

template <size_t Slot> void JNICALL unsupported() {
    fatal(std::string("JNI function ") + nativeSlotName(Slot) +
          " was called; the test runtime does not provide it");
}

template <size_t... Slots> void fillUnsupported(void** slots, std::index_sequence<Slots...>) {
    ((slots[Slots] = reinterpret_cast<void*>(&unsupported<Slots>)), ...);
}

JNINativeInterface_ makeTable() {
    void* slots[kJniNativeInterfaceSlots];
    fillUnsupported(slots, std::make_index_sequence<kJniNativeInterfaceSlots>{});
    JNINativeInterface_ table;
    std::memcpy(&table, slots, sizeof table);

    table.GetVersion = &getVersion;
    table.FindClass = &findClass;
    table.GetSuperclass = &getSuperclass;
    table.IsAssignableFrom = &isAssignableFrom;
    table.Throw = &throwObject;
    table.ThrowNew = &throwNewObject;
    table.ExceptionOccurred = &exceptionOccurred;
    table.ExceptionDescribe = &exceptionDescribe;
    table.ExceptionClear = &exceptionClear;
    table.FatalError = &fatalError;
    table.PushLocalFrame = &pushLocalFrame;
    table.PopLocalFrame = &popLocalFrame;
    table.NewGlobalRef = &newGlobalRef;
    table.DeleteGlobalRef = &deleteGlobalRef;
    table.DeleteLocalRef = &deleteLocalRef;
    table.IsSameObject = &isSameObject;
    table.NewLocalRef = &newLocalRef;
    table.EnsureLocalCapacity = &ensureLocalCapacity;
    table.AllocObject = &allocObject;
    table.NewObject = &newObjectVariadic;
    table.NewObjectV = &newObjectV;
    table.NewObjectA = &newObjectA;
    table.GetObjectClass = &getObjectClass;
    table.IsInstanceOf = &isInstanceOf;
    table.GetMethodID = &getMethodID;
    table.GetStaticMethodID = &getStaticMethodID;
    table.CallObjectMethod = &callVirtual<jobject>;
    table.CallObjectMethodV = &callVirtualV<jobject>;
    table.CallObjectMethodA = &callVirtualA<jobject>;
    table.CallNonvirtualObjectMethod = &callNonvirtual<jobject>;
    table.CallNonvirtualObjectMethodV = &callNonvirtualV<jobject>;
    table.CallNonvirtualObjectMethodA = &callNonvirtualA<jobject>;
    table.CallStaticObjectMethod = &callStatic<jobject>;
    table.CallStaticObjectMethodV = &callStaticV<jobject>;
    table.CallStaticObjectMethodA = &callStaticA<jobject>;
    table.CallBooleanMethod = &callVirtual<jboolean>;
    table.CallBooleanMethodV = &callVirtualV<jboolean>;
    table.CallBooleanMethodA = &callVirtualA<jboolean>;
    table.CallNonvirtualBooleanMethod = &callNonvirtual<jboolean>;
    table.CallNonvirtualBooleanMethodV = &callNonvirtualV<jboolean>;
    table.CallNonvirtualBooleanMethodA = &callNonvirtualA<jboolean>;
    table.CallStaticBooleanMethod = &callStatic<jboolean>;
    table.CallStaticBooleanMethodV = &callStaticV<jboolean>;
    table.CallStaticBooleanMethodA = &callStaticA<jboolean>;
    table.CallByteMethod = &callVirtual<jbyte>;
    table.CallByteMethodV = &callVirtualV<jbyte>;
    table.CallByteMethodA = &callVirtualA<jbyte>;
    table.CallNonvirtualByteMethod = &callNonvirtual<jbyte>;
    table.CallNonvirtualByteMethodV = &callNonvirtualV<jbyte>;
    table.CallNonvirtualByteMethodA = &callNonvirtualA<jbyte>;
    table.CallStaticByteMethod = &callStatic<jbyte>;
    table.CallStaticByteMethodV = &callStaticV<jbyte>;
    table.CallStaticByteMethodA = &callStaticA<jbyte>;
    table.CallCharMethod = &callVirtual<jchar>;
    table.CallCharMethodV = &callVirtualV<jchar>;
    table.CallCharMethodA = &callVirtualA<jchar>;
    table.CallNonvirtualCharMethod = &callNonvirtual<jchar>;
    table.CallNonvirtualCharMethodV = &callNonvirtualV<jchar>;
    table.CallNonvirtualCharMethodA = &callNonvirtualA<jchar>;
    table.CallStaticCharMethod = &callStatic<jchar>;
    table.CallStaticCharMethodV = &callStaticV<jchar>;
    table.CallStaticCharMethodA = &callStaticA<jchar>;
    table.CallShortMethod = &callVirtual<jshort>;
    table.CallShortMethodV = &callVirtualV<jshort>;
    table.CallShortMethodA = &callVirtualA<jshort>;
    table.CallNonvirtualShortMethod = &callNonvirtual<jshort>;
    table.CallNonvirtualShortMethodV = &callNonvirtualV<jshort>;
    table.CallNonvirtualShortMethodA = &callNonvirtualA<jshort>;
    table.CallStaticShortMethod = &callStatic<jshort>;
    table.CallStaticShortMethodV = &callStaticV<jshort>;
    table.CallStaticShortMethodA = &callStaticA<jshort>;
    table.CallIntMethod = &callVirtual<jint>;
    table.CallIntMethodV = &callVirtualV<jint>;
    table.CallIntMethodA = &callVirtualA<jint>;
    table.CallNonvirtualIntMethod = &callNonvirtual<jint>;
    table.CallNonvirtualIntMethodV = &callNonvirtualV<jint>;
    table.CallNonvirtualIntMethodA = &callNonvirtualA<jint>;
    table.CallStaticIntMethod = &callStatic<jint>;
    table.CallStaticIntMethodV = &callStaticV<jint>;
    table.CallStaticIntMethodA = &callStaticA<jint>;
    table.CallLongMethod = &callVirtual<jlong>;
    table.CallLongMethodV = &callVirtualV<jlong>;
    table.CallLongMethodA = &callVirtualA<jlong>;
    table.CallNonvirtualLongMethod = &callNonvirtual<jlong>;
    table.CallNonvirtualLongMethodV = &callNonvirtualV<jlong>;
    table.CallNonvirtualLongMethodA = &callNonvirtualA<jlong>;
    table.CallStaticLongMethod = &callStatic<jlong>;
    table.CallStaticLongMethodV = &callStaticV<jlong>;
    table.CallStaticLongMethodA = &callStaticA<jlong>;
    table.CallFloatMethod = &callVirtual<jfloat>;
    table.CallFloatMethodV = &callVirtualV<jfloat>;
    table.CallFloatMethodA = &callVirtualA<jfloat>;
    table.CallNonvirtualFloatMethod = &callNonvirtual<jfloat>;
    table.CallNonvirtualFloatMethodV = &callNonvirtualV<jfloat>;
    table.CallNonvirtualFloatMethodA = &callNonvirtualA<jfloat>;
    table.CallStaticFloatMethod = &callStatic<jfloat>;
    table.CallStaticFloatMethodV = &callStaticV<jfloat>;
    table.CallStaticFloatMethodA = &callStaticA<jfloat>;
    table.CallDoubleMethod = &callVirtual<jdouble>;
    table.CallDoubleMethodV = &callVirtualV<jdouble>;
    table.CallDoubleMethodA = &callVirtualA<jdouble>;
    table.CallNonvirtualDoubleMethod = &callNonvirtual<jdouble>;
    table.CallNonvirtualDoubleMethodV = &callNonvirtualV<jdouble>;
    table.CallNonvirtualDoubleMethodA = &callNonvirtualA<jdouble>;
    table.CallStaticDoubleMethod = &callStatic<jdouble>;
    table.CallStaticDoubleMethodV = &callStaticV<jdouble>;
    table.CallStaticDoubleMethodA = &callStaticA<jdouble>;
    table.CallVoidMethod = &callVirtual<void>;
    table.CallVoidMethodV = &callVirtualV<void>;
    table.CallVoidMethodA = &callVirtualA<void>;
    table.CallNonvirtualVoidMethod = &callNonvirtual<void>;
    table.CallNonvirtualVoidMethodV = &callNonvirtualV<void>;
    table.CallNonvirtualVoidMethodA = &callNonvirtualA<void>;
    table.CallStaticVoidMethod = &callStatic<void>;
    table.CallStaticVoidMethodV = &callStaticV<void>;
    table.CallStaticVoidMethodA = &callStaticA<void>;
    table.NewString = &newStringFromChars;
    table.GetStringLength = &getStringLength;
    table.GetStringChars = &getStringChars;
    table.ReleaseStringChars = &releaseStringChars;
    table.NewStringUTF = &newStringUTF;
    table.GetStringUTFLength = &getStringUTFLength;
    table.GetStringUTFChars = &getStringUTFChars;
    table.ReleaseStringUTFChars = &releaseStringUTFChars;
    table.GetArrayLength = &getArrayLength;
    table.NewObjectArray = &newObjectArray;
    table.GetObjectArrayElement = &getObjectArrayElement;
    table.SetObjectArrayElement = &setObjectArrayElement;
    table.NewCharArray = &newCharArray;
    table.GetCharArrayElements = &getCharArrayElements;
    table.ReleaseCharArrayElements = &releaseCharArrayElements;
    table.GetCharArrayRegion = &getCharArrayRegion;
    table.SetCharArrayRegion = &setCharArrayRegion;
    table.GetJavaVM = &getJavaVM;
    table.GetStringRegion = &getStringRegion;
    table.GetStringUTFRegion = &getStringUTFRegion;
    table.GetStringCritical = &getStringCritical;
    table.ReleaseStringCritical = &releaseStringCritical;
    table.NewWeakGlobalRef = &newWeakGlobalRef;
    table.DeleteWeakGlobalRef = &deleteWeakGlobalRef;
    table.ExceptionCheck = &exceptionCheck;
    table.GetObjectRefType = &getObjectRefType;
    return table;
}

} // namespace

const JNINativeInterface_* nativeInterface() {
    static const JNINativeInterface_ table = makeTable();
    return &table;
}

} // namespace testjvm
