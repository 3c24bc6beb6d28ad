// The Java Native Interface as the launcher sees it: the types, the constants, the invocation
// structures and the two function tables of a Java runtime, laid out slot for slot as runtimes
// publish them, so that a pointer taken from any runtime's JNIEnv or JavaVM is read at the right
// offset. The launcher loads the runtime at run time and never links against it; this header only
// describes the binary interface. JNIEnv and JavaVM follow the C++ binding: a struct holding the
// table pointer, with inline wrappers for the calls this project makes.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#ifdef _WIN32
#define JNIEXPORT __declspec(dllexport)
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall
#else
#define JNIEXPORT __attribute__((visibility("default")))
#define JNIIMPORT
#define JNICALL
#endif

// Primitive types with their Java sizes (the same on 64-bit Windows and everywhere else).
using jint = std::int32_t;
using jlong = std::int64_t;
using jbyte = signed char;
using jboolean = unsigned char;
using jchar = unsigned short;
using jshort = short;
using jfloat = float;
using jdouble = double;
using jsize = jint;

static_assert(sizeof(jint) == 4 && sizeof(jlong) == 8 && sizeof(jchar) == 2 && sizeof(jshort) == 2);
static_assert(sizeof(jboolean) == 1 && sizeof(jbyte) == 1);
static_assert(sizeof(jfloat) == 4 && sizeof(jdouble) == 8);

// Reference types: opaque handles, with the class hierarchy of the C++ binding so that a jstring
// converts to a jobject without a cast.
class _jobject {};
class _jclass : public _jobject {};
class _jthrowable : public _jobject {};
class _jstring : public _jobject {};
class _jarray : public _jobject {};
class _jbooleanArray : public _jarray {};
class _jbyteArray : public _jarray {};
class _jcharArray : public _jarray {};
class _jshortArray : public _jarray {};
class _jintArray : public _jarray {};
class _jlongArray : public _jarray {};
class _jfloatArray : public _jarray {};
class _jdoubleArray : public _jarray {};
class _jobjectArray : public _jarray {};

using jobject = _jobject*;
using jclass = _jclass*;
using jthrowable = _jthrowable*;
using jstring = _jstring*;
using jarray = _jarray*;
using jbooleanArray = _jbooleanArray*;
using jbyteArray = _jbyteArray*;
using jcharArray = _jcharArray*;
using jshortArray = _jshortArray*;
using jintArray = _jintArray*;
using jlongArray = _jlongArray*;
using jfloatArray = _jfloatArray*;
using jdoubleArray = _jdoubleArray*;
using jobjectArray = _jobjectArray*;
using jweak = jobject;

union jvalue {
    jboolean z;
    jbyte b;
    jchar c;
    jshort s;
    jint i;
    jlong j;
    jfloat f;
    jdouble d;
    jobject l;
};

struct _jfieldID;
using jfieldID = _jfieldID*;
struct _jmethodID;
using jmethodID = _jmethodID*;

enum jobjectRefType {
    JNIInvalidRefType = 0,
    JNILocalRefType = 1,
    JNIGlobalRefType = 2,
    JNIWeakGlobalRefType = 3
};

constexpr jboolean JNI_FALSE = 0;
constexpr jboolean JNI_TRUE = 1;

// Results of the JNI functions and of the invocation API.
constexpr jint JNI_OK = 0;
constexpr jint JNI_ERR = -1;       // unknown error
constexpr jint JNI_EDETACHED = -2; // thread detached from the VM
constexpr jint JNI_EVERSION = -3;  // JNI version error
constexpr jint JNI_ENOMEM = -4;    // not enough memory
constexpr jint JNI_EEXIST = -5;    // VM already created
constexpr jint JNI_EINVAL = -6;    // invalid arguments

// Modes of the Release<Type>ArrayElements functions.
constexpr jint JNI_COMMIT = 1;
constexpr jint JNI_ABORT = 2;

constexpr jint JNI_VERSION_1_1 = 0x00010001;
constexpr jint JNI_VERSION_1_2 = 0x00010002;
constexpr jint JNI_VERSION_1_4 = 0x00010004;
constexpr jint JNI_VERSION_1_6 = 0x00010006;
constexpr jint JNI_VERSION_1_8 = 0x00010008;
constexpr jint JNI_VERSION_9 = 0x00090000;
constexpr jint JNI_VERSION_10 = 0x000a0000;
constexpr jint JNI_VERSION_19 = 0x00130000;
constexpr jint JNI_VERSION_20 = 0x00140000;
constexpr jint JNI_VERSION_21 = 0x00150000;

struct JNINativeMethod {
    char* name;
    char* signature;
    void* fnPtr;
};

struct JNIEnv_;
struct JavaVM_;
using JNIEnv = JNIEnv_;
using JavaVM = JavaVM_;

// The JNIEnv function table. The order of the slots is the binary interface: never reorder,
// never remove; the four reserved slots come first.
struct JNINativeInterface_ {
    void* reserved0;
    void* reserved1;
    void* reserved2;
    void* reserved3;
    jint(JNICALL* GetVersion)(JNIEnv* env);
    jclass(JNICALL* DefineClass)(JNIEnv* env, const char* name, jobject loader, const jbyte* buf,
                                 jsize len);
    jclass(JNICALL* FindClass)(JNIEnv* env, const char* name);
    jmethodID(JNICALL* FromReflectedMethod)(JNIEnv* env, jobject method);
    jfieldID(JNICALL* FromReflectedField)(JNIEnv* env, jobject field);
    jobject(JNICALL* ToReflectedMethod)(JNIEnv* env, jclass cls, jmethodID methodID,
                                        jboolean isStatic);
    jclass(JNICALL* GetSuperclass)(JNIEnv* env, jclass sub);
    jboolean(JNICALL* IsAssignableFrom)(JNIEnv* env, jclass sub, jclass sup);
    jobject(JNICALL* ToReflectedField)(JNIEnv* env, jclass cls, jfieldID fieldID,
                                       jboolean isStatic);
    jint(JNICALL* Throw)(JNIEnv* env, jthrowable obj);
    jint(JNICALL* ThrowNew)(JNIEnv* env, jclass clazz, const char* msg);
    jthrowable(JNICALL* ExceptionOccurred)(JNIEnv* env);
    void(JNICALL* ExceptionDescribe)(JNIEnv* env);
    void(JNICALL* ExceptionClear)(JNIEnv* env);
    void(JNICALL* FatalError)(JNIEnv* env, const char* msg);
    jint(JNICALL* PushLocalFrame)(JNIEnv* env, jint capacity);
    jobject(JNICALL* PopLocalFrame)(JNIEnv* env, jobject result);
    jobject(JNICALL* NewGlobalRef)(JNIEnv* env, jobject lobj);
    void(JNICALL* DeleteGlobalRef)(JNIEnv* env, jobject gref);
    void(JNICALL* DeleteLocalRef)(JNIEnv* env, jobject obj);
    jboolean(JNICALL* IsSameObject)(JNIEnv* env, jobject obj1, jobject obj2);
    jobject(JNICALL* NewLocalRef)(JNIEnv* env, jobject ref);
    jint(JNICALL* EnsureLocalCapacity)(JNIEnv* env, jint capacity);
    jobject(JNICALL* AllocObject)(JNIEnv* env, jclass clazz);
    jobject(JNICALL* NewObject)(JNIEnv* env, jclass clazz, jmethodID methodID, ...);
    jobject(JNICALL* NewObjectV)(JNIEnv* env, jclass clazz, jmethodID methodID, va_list args);
    jobject(JNICALL* NewObjectA)(JNIEnv* env, jclass clazz, jmethodID methodID, const jvalue* args);
    jclass(JNICALL* GetObjectClass)(JNIEnv* env, jobject obj);
    jboolean(JNICALL* IsInstanceOf)(JNIEnv* env, jobject obj, jclass clazz);
    jmethodID(JNICALL* GetMethodID)(JNIEnv* env, jclass clazz, const char* name, const char* sig);
    jobject(JNICALL* CallObjectMethod)(JNIEnv* env, jobject obj, jmethodID methodID, ...);
    jobject(JNICALL* CallObjectMethodV)(JNIEnv* env, jobject obj, jmethodID methodID, va_list args);
    jobject(JNICALL* CallObjectMethodA)(JNIEnv* env, jobject obj, jmethodID methodID,
                                        const jvalue* args);
    jboolean(JNICALL* CallBooleanMethod)(JNIEnv* env, jobject obj, jmethodID methodID, ...);
    jboolean(JNICALL* CallBooleanMethodV)(JNIEnv* env, jobject obj, jmethodID methodID,
                                          va_list args);
    jboolean(JNICALL* CallBooleanMethodA)(JNIEnv* env, jobject obj, jmethodID methodID,
                                          const jvalue* args);
    jbyte(JNICALL* CallByteMethod)(JNIEnv* env, jobject obj, jmethodID methodID, ...);
    jbyte(JNICALL* CallByteMethodV)(JNIEnv* env, jobject obj, jmethodID methodID, va_list args);
    jbyte(JNICALL* CallByteMethodA)(JNIEnv* env, jobject obj, jmethodID methodID,
                                    const jvalue* args);
    jchar(JNICALL* CallCharMethod)(JNIEnv* env, jobject obj, jmethodID methodID, ...);
    jchar(JNICALL* CallCharMethodV)(JNIEnv* env, jobject obj, jmethodID methodID, va_list args);
    jchar(JNICALL* CallCharMethodA)(JNIEnv* env, jobject obj, jmethodID methodID,
                                    const jvalue* args);
    jshort(JNICALL* CallShortMethod)(JNIEnv* env, jobject obj, jmethodID methodID, ...);
    jshort(JNICALL* CallShortMethodV)(JNIEnv* env, jobject obj, jmethodID methodID, va_list args);
    jshort(JNICALL* CallShortMethodA)(JNIEnv* env, jobject obj, jmethodID methodID,
                                      const jvalue* args);
    jint(JNICALL* CallIntMethod)(JNIEnv* env, jobject obj, jmethodID methodID, ...);
    jint(JNICALL* CallIntMethodV)(JNIEnv* env, jobject obj, jmethodID methodID, va_list args);
    jint(JNICALL* CallIntMethodA)(JNIEnv* env, jobject obj, jmethodID methodID, const jvalue* args);
    jlong(JNICALL* CallLongMethod)(JNIEnv* env, jobject obj, jmethodID methodID, ...);
    jlong(JNICALL* CallLongMethodV)(JNIEnv* env, jobject obj, jmethodID methodID, va_list args);
    jlong(JNICALL* CallLongMethodA)(JNIEnv* env, jobject obj, jmethodID methodID,
                                    const jvalue* args);
    jfloat(JNICALL* CallFloatMethod)(JNIEnv* env, jobject obj, jmethodID methodID, ...);
    jfloat(JNICALL* CallFloatMethodV)(JNIEnv* env, jobject obj, jmethodID methodID, va_list args);
    jfloat(JNICALL* CallFloatMethodA)(JNIEnv* env, jobject obj, jmethodID methodID,
                                      const jvalue* args);
    jdouble(JNICALL* CallDoubleMethod)(JNIEnv* env, jobject obj, jmethodID methodID, ...);
    jdouble(JNICALL* CallDoubleMethodV)(JNIEnv* env, jobject obj, jmethodID methodID, va_list args);
    jdouble(JNICALL* CallDoubleMethodA)(JNIEnv* env, jobject obj, jmethodID methodID,
                                        const jvalue* args);
    void(JNICALL* CallVoidMethod)(JNIEnv* env, jobject obj, jmethodID methodID, ...);
    void(JNICALL* CallVoidMethodV)(JNIEnv* env, jobject obj, jmethodID methodID, va_list args);
    void(JNICALL* CallVoidMethodA)(JNIEnv* env, jobject obj, jmethodID methodID,
                                   const jvalue* args);
    jobject(JNICALL* CallNonvirtualObjectMethod)(JNIEnv* env, jobject obj, jclass clazz,
                                                 jmethodID methodID, ...);
    jobject(JNICALL* CallNonvirtualObjectMethodV)(JNIEnv* env, jobject obj, jclass clazz,
                                                  jmethodID methodID, va_list args);
    jobject(JNICALL* CallNonvirtualObjectMethodA)(JNIEnv* env, jobject obj, jclass clazz,
                                                  jmethodID methodID, const jvalue* args);
    jboolean(JNICALL* CallNonvirtualBooleanMethod)(JNIEnv* env, jobject obj, jclass clazz,
                                                   jmethodID methodID, ...);
    jboolean(JNICALL* CallNonvirtualBooleanMethodV)(JNIEnv* env, jobject obj, jclass clazz,
                                                    jmethodID methodID, va_list args);
    jboolean(JNICALL* CallNonvirtualBooleanMethodA)(JNIEnv* env, jobject obj, jclass clazz,
                                                    jmethodID methodID, const jvalue* args);
    jbyte(JNICALL* CallNonvirtualByteMethod)(JNIEnv* env, jobject obj, jclass clazz,
                                             jmethodID methodID, ...);
    jbyte(JNICALL* CallNonvirtualByteMethodV)(JNIEnv* env, jobject obj, jclass clazz,
                                              jmethodID methodID, va_list args);
    jbyte(JNICALL* CallNonvirtualByteMethodA)(JNIEnv* env, jobject obj, jclass clazz,
                                              jmethodID methodID, const jvalue* args);
    jchar(JNICALL* CallNonvirtualCharMethod)(JNIEnv* env, jobject obj, jclass clazz,
                                             jmethodID methodID, ...);
    jchar(JNICALL* CallNonvirtualCharMethodV)(JNIEnv* env, jobject obj, jclass clazz,
                                              jmethodID methodID, va_list args);
    jchar(JNICALL* CallNonvirtualCharMethodA)(JNIEnv* env, jobject obj, jclass clazz,
                                              jmethodID methodID, const jvalue* args);
    jshort(JNICALL* CallNonvirtualShortMethod)(JNIEnv* env, jobject obj, jclass clazz,
                                               jmethodID methodID, ...);
    jshort(JNICALL* CallNonvirtualShortMethodV)(JNIEnv* env, jobject obj, jclass clazz,
                                                jmethodID methodID, va_list args);
    jshort(JNICALL* CallNonvirtualShortMethodA)(JNIEnv* env, jobject obj, jclass clazz,
                                                jmethodID methodID, const jvalue* args);
    jint(JNICALL* CallNonvirtualIntMethod)(JNIEnv* env, jobject obj, jclass clazz,
                                           jmethodID methodID, ...);
    jint(JNICALL* CallNonvirtualIntMethodV)(JNIEnv* env, jobject obj, jclass clazz,
                                            jmethodID methodID, va_list args);
    jint(JNICALL* CallNonvirtualIntMethodA)(JNIEnv* env, jobject obj, jclass clazz,
                                            jmethodID methodID, const jvalue* args);
    jlong(JNICALL* CallNonvirtualLongMethod)(JNIEnv* env, jobject obj, jclass clazz,
                                             jmethodID methodID, ...);
    jlong(JNICALL* CallNonvirtualLongMethodV)(JNIEnv* env, jobject obj, jclass clazz,
                                              jmethodID methodID, va_list args);
    jlong(JNICALL* CallNonvirtualLongMethodA)(JNIEnv* env, jobject obj, jclass clazz,
                                              jmethodID methodID, const jvalue* args);
    jfloat(JNICALL* CallNonvirtualFloatMethod)(JNIEnv* env, jobject obj, jclass clazz,
                                               jmethodID methodID, ...);
    jfloat(JNICALL* CallNonvirtualFloatMethodV)(JNIEnv* env, jobject obj, jclass clazz,
                                                jmethodID methodID, va_list args);
    jfloat(JNICALL* CallNonvirtualFloatMethodA)(JNIEnv* env, jobject obj, jclass clazz,
                                                jmethodID methodID, const jvalue* args);
    jdouble(JNICALL* CallNonvirtualDoubleMethod)(JNIEnv* env, jobject obj, jclass clazz,
                                                 jmethodID methodID, ...);
    jdouble(JNICALL* CallNonvirtualDoubleMethodV)(JNIEnv* env, jobject obj, jclass clazz,
                                                  jmethodID methodID, va_list args);
    jdouble(JNICALL* CallNonvirtualDoubleMethodA)(JNIEnv* env, jobject obj, jclass clazz,
                                                  jmethodID methodID, const jvalue* args);
    void(JNICALL* CallNonvirtualVoidMethod)(JNIEnv* env, jobject obj, jclass clazz,
                                            jmethodID methodID, ...);
    void(JNICALL* CallNonvirtualVoidMethodV)(JNIEnv* env, jobject obj, jclass clazz,
                                             jmethodID methodID, va_list args);
    void(JNICALL* CallNonvirtualVoidMethodA)(JNIEnv* env, jobject obj, jclass clazz,
                                             jmethodID methodID, const jvalue* args);
    jfieldID(JNICALL* GetFieldID)(JNIEnv* env, jclass clazz, const char* name, const char* sig);
    jobject(JNICALL* GetObjectField)(JNIEnv* env, jobject obj, jfieldID fieldID);
    jboolean(JNICALL* GetBooleanField)(JNIEnv* env, jobject obj, jfieldID fieldID);
    jbyte(JNICALL* GetByteField)(JNIEnv* env, jobject obj, jfieldID fieldID);
    jchar(JNICALL* GetCharField)(JNIEnv* env, jobject obj, jfieldID fieldID);
    jshort(JNICALL* GetShortField)(JNIEnv* env, jobject obj, jfieldID fieldID);
    jint(JNICALL* GetIntField)(JNIEnv* env, jobject obj, jfieldID fieldID);
    jlong(JNICALL* GetLongField)(JNIEnv* env, jobject obj, jfieldID fieldID);
    jfloat(JNICALL* GetFloatField)(JNIEnv* env, jobject obj, jfieldID fieldID);
    jdouble(JNICALL* GetDoubleField)(JNIEnv* env, jobject obj, jfieldID fieldID);
    void(JNICALL* SetObjectField)(JNIEnv* env, jobject obj, jfieldID fieldID, jobject val);
    void(JNICALL* SetBooleanField)(JNIEnv* env, jobject obj, jfieldID fieldID, jboolean val);
    void(JNICALL* SetByteField)(JNIEnv* env, jobject obj, jfieldID fieldID, jbyte val);
    void(JNICALL* SetCharField)(JNIEnv* env, jobject obj, jfieldID fieldID, jchar val);
    void(JNICALL* SetShortField)(JNIEnv* env, jobject obj, jfieldID fieldID, jshort val);
    void(JNICALL* SetIntField)(JNIEnv* env, jobject obj, jfieldID fieldID, jint val);
    void(JNICALL* SetLongField)(JNIEnv* env, jobject obj, jfieldID fieldID, jlong val);
    void(JNICALL* SetFloatField)(JNIEnv* env, jobject obj, jfieldID fieldID, jfloat val);
    void(JNICALL* SetDoubleField)(JNIEnv* env, jobject obj, jfieldID fieldID, jdouble val);
    jmethodID(JNICALL* GetStaticMethodID)(JNIEnv* env, jclass clazz, const char* name,
                                          const char* sig);
    jobject(JNICALL* CallStaticObjectMethod)(JNIEnv* env, jclass clazz, jmethodID methodID, ...);
    jobject(JNICALL* CallStaticObjectMethodV)(JNIEnv* env, jclass clazz, jmethodID methodID,
                                              va_list args);
    jobject(JNICALL* CallStaticObjectMethodA)(JNIEnv* env, jclass clazz, jmethodID methodID,
                                              const jvalue* args);
    jboolean(JNICALL* CallStaticBooleanMethod)(JNIEnv* env, jclass clazz, jmethodID methodID, ...);
    jboolean(JNICALL* CallStaticBooleanMethodV)(JNIEnv* env, jclass clazz, jmethodID methodID,
                                                va_list args);
    jboolean(JNICALL* CallStaticBooleanMethodA)(JNIEnv* env, jclass clazz, jmethodID methodID,
                                                const jvalue* args);
    jbyte(JNICALL* CallStaticByteMethod)(JNIEnv* env, jclass clazz, jmethodID methodID, ...);
    jbyte(JNICALL* CallStaticByteMethodV)(JNIEnv* env, jclass clazz, jmethodID methodID,
                                          va_list args);
    jbyte(JNICALL* CallStaticByteMethodA)(JNIEnv* env, jclass clazz, jmethodID methodID,
                                          const jvalue* args);
    jchar(JNICALL* CallStaticCharMethod)(JNIEnv* env, jclass clazz, jmethodID methodID, ...);
    jchar(JNICALL* CallStaticCharMethodV)(JNIEnv* env, jclass clazz, jmethodID methodID,
                                          va_list args);
    jchar(JNICALL* CallStaticCharMethodA)(JNIEnv* env, jclass clazz, jmethodID methodID,
                                          const jvalue* args);
    jshort(JNICALL* CallStaticShortMethod)(JNIEnv* env, jclass clazz, jmethodID methodID, ...);
    jshort(JNICALL* CallStaticShortMethodV)(JNIEnv* env, jclass clazz, jmethodID methodID,
                                            va_list args);
    jshort(JNICALL* CallStaticShortMethodA)(JNIEnv* env, jclass clazz, jmethodID methodID,
                                            const jvalue* args);
    jint(JNICALL* CallStaticIntMethod)(JNIEnv* env, jclass clazz, jmethodID methodID, ...);
    jint(JNICALL* CallStaticIntMethodV)(JNIEnv* env, jclass clazz, jmethodID methodID,
                                        va_list args);
    jint(JNICALL* CallStaticIntMethodA)(JNIEnv* env, jclass clazz, jmethodID methodID,
                                        const jvalue* args);
    jlong(JNICALL* CallStaticLongMethod)(JNIEnv* env, jclass clazz, jmethodID methodID, ...);
    jlong(JNICALL* CallStaticLongMethodV)(JNIEnv* env, jclass clazz, jmethodID methodID,
                                          va_list args);
    jlong(JNICALL* CallStaticLongMethodA)(JNIEnv* env, jclass clazz, jmethodID methodID,
                                          const jvalue* args);
    jfloat(JNICALL* CallStaticFloatMethod)(JNIEnv* env, jclass clazz, jmethodID methodID, ...);
    jfloat(JNICALL* CallStaticFloatMethodV)(JNIEnv* env, jclass clazz, jmethodID methodID,
                                            va_list args);
    jfloat(JNICALL* CallStaticFloatMethodA)(JNIEnv* env, jclass clazz, jmethodID methodID,
                                            const jvalue* args);
    jdouble(JNICALL* CallStaticDoubleMethod)(JNIEnv* env, jclass clazz, jmethodID methodID, ...);
    jdouble(JNICALL* CallStaticDoubleMethodV)(JNIEnv* env, jclass clazz, jmethodID methodID,
                                              va_list args);
    jdouble(JNICALL* CallStaticDoubleMethodA)(JNIEnv* env, jclass clazz, jmethodID methodID,
                                              const jvalue* args);
    void(JNICALL* CallStaticVoidMethod)(JNIEnv* env, jclass clazz, jmethodID methodID, ...);
    void(JNICALL* CallStaticVoidMethodV)(JNIEnv* env, jclass clazz, jmethodID methodID,
                                         va_list args);
    void(JNICALL* CallStaticVoidMethodA)(JNIEnv* env, jclass clazz, jmethodID methodID,
                                         const jvalue* args);
    jfieldID(JNICALL* GetStaticFieldID)(JNIEnv* env, jclass clazz, const char* name,
                                        const char* sig);
    jobject(JNICALL* GetStaticObjectField)(JNIEnv* env, jclass clazz, jfieldID fieldID);
    jboolean(JNICALL* GetStaticBooleanField)(JNIEnv* env, jclass clazz, jfieldID fieldID);
    jbyte(JNICALL* GetStaticByteField)(JNIEnv* env, jclass clazz, jfieldID fieldID);
    jchar(JNICALL* GetStaticCharField)(JNIEnv* env, jclass clazz, jfieldID fieldID);
    jshort(JNICALL* GetStaticShortField)(JNIEnv* env, jclass clazz, jfieldID fieldID);
    jint(JNICALL* GetStaticIntField)(JNIEnv* env, jclass clazz, jfieldID fieldID);
    jlong(JNICALL* GetStaticLongField)(JNIEnv* env, jclass clazz, jfieldID fieldID);
    jfloat(JNICALL* GetStaticFloatField)(JNIEnv* env, jclass clazz, jfieldID fieldID);
    jdouble(JNICALL* GetStaticDoubleField)(JNIEnv* env, jclass clazz, jfieldID fieldID);
    void(JNICALL* SetStaticObjectField)(JNIEnv* env, jclass clazz, jfieldID fieldID, jobject value);
    void(JNICALL* SetStaticBooleanField)(JNIEnv* env, jclass clazz, jfieldID fieldID,
                                         jboolean value);
    void(JNICALL* SetStaticByteField)(JNIEnv* env, jclass clazz, jfieldID fieldID, jbyte value);
    void(JNICALL* SetStaticCharField)(JNIEnv* env, jclass clazz, jfieldID fieldID, jchar value);
    void(JNICALL* SetStaticShortField)(JNIEnv* env, jclass clazz, jfieldID fieldID, jshort value);
    void(JNICALL* SetStaticIntField)(JNIEnv* env, jclass clazz, jfieldID fieldID, jint value);
    void(JNICALL* SetStaticLongField)(JNIEnv* env, jclass clazz, jfieldID fieldID, jlong value);
    void(JNICALL* SetStaticFloatField)(JNIEnv* env, jclass clazz, jfieldID fieldID, jfloat value);
    void(JNICALL* SetStaticDoubleField)(JNIEnv* env, jclass clazz, jfieldID fieldID, jdouble value);
    jstring(JNICALL* NewString)(JNIEnv* env, const jchar* unicode, jsize len);
    jsize(JNICALL* GetStringLength)(JNIEnv* env, jstring str);
    const jchar*(JNICALL* GetStringChars)(JNIEnv* env, jstring str, jboolean* isCopy);
    void(JNICALL* ReleaseStringChars)(JNIEnv* env, jstring str, const jchar* chars);
    jstring(JNICALL* NewStringUTF)(JNIEnv* env, const char* utf);
    jsize(JNICALL* GetStringUTFLength)(JNIEnv* env, jstring str);
    const char*(JNICALL* GetStringUTFChars)(JNIEnv* env, jstring str, jboolean* isCopy);
    void(JNICALL* ReleaseStringUTFChars)(JNIEnv* env, jstring str, const char* chars);
    jsize(JNICALL* GetArrayLength)(JNIEnv* env, jarray array);
    jobjectArray(JNICALL* NewObjectArray)(JNIEnv* env, jsize len, jclass clazz, jobject init);
    jobject(JNICALL* GetObjectArrayElement)(JNIEnv* env, jobjectArray array, jsize index);
    void(JNICALL* SetObjectArrayElement)(JNIEnv* env, jobjectArray array, jsize index, jobject val);
    jbooleanArray(JNICALL* NewBooleanArray)(JNIEnv* env, jsize len);
    jbyteArray(JNICALL* NewByteArray)(JNIEnv* env, jsize len);
    jcharArray(JNICALL* NewCharArray)(JNIEnv* env, jsize len);
    jshortArray(JNICALL* NewShortArray)(JNIEnv* env, jsize len);
    jintArray(JNICALL* NewIntArray)(JNIEnv* env, jsize len);
    jlongArray(JNICALL* NewLongArray)(JNIEnv* env, jsize len);
    jfloatArray(JNICALL* NewFloatArray)(JNIEnv* env, jsize len);
    jdoubleArray(JNICALL* NewDoubleArray)(JNIEnv* env, jsize len);
    jboolean*(JNICALL* GetBooleanArrayElements)(JNIEnv* env, jbooleanArray array, jboolean* isCopy);
    jbyte*(JNICALL* GetByteArrayElements)(JNIEnv* env, jbyteArray array, jboolean* isCopy);
    jchar*(JNICALL* GetCharArrayElements)(JNIEnv* env, jcharArray array, jboolean* isCopy);
    jshort*(JNICALL* GetShortArrayElements)(JNIEnv* env, jshortArray array, jboolean* isCopy);
    jint*(JNICALL* GetIntArrayElements)(JNIEnv* env, jintArray array, jboolean* isCopy);
    jlong*(JNICALL* GetLongArrayElements)(JNIEnv* env, jlongArray array, jboolean* isCopy);
    jfloat*(JNICALL* GetFloatArrayElements)(JNIEnv* env, jfloatArray array, jboolean* isCopy);
    jdouble*(JNICALL* GetDoubleArrayElements)(JNIEnv* env, jdoubleArray array, jboolean* isCopy);
    void(JNICALL* ReleaseBooleanArrayElements)(JNIEnv* env, jbooleanArray array, jboolean* elems,
                                               jint mode);
    void(JNICALL* ReleaseByteArrayElements)(JNIEnv* env, jbyteArray array, jbyte* elems, jint mode);
    void(JNICALL* ReleaseCharArrayElements)(JNIEnv* env, jcharArray array, jchar* elems, jint mode);
    void(JNICALL* ReleaseShortArrayElements)(JNIEnv* env, jshortArray array, jshort* elems,
                                             jint mode);
    void(JNICALL* ReleaseIntArrayElements)(JNIEnv* env, jintArray array, jint* elems, jint mode);
    void(JNICALL* ReleaseLongArrayElements)(JNIEnv* env, jlongArray array, jlong* elems, jint mode);
    void(JNICALL* ReleaseFloatArrayElements)(JNIEnv* env, jfloatArray array, jfloat* elems,
                                             jint mode);
    void(JNICALL* ReleaseDoubleArrayElements)(JNIEnv* env, jdoubleArray array, jdouble* elems,
                                              jint mode);
    void(JNICALL* GetBooleanArrayRegion)(JNIEnv* env, jbooleanArray array, jsize start, jsize len,
                                         jboolean* buf);
    void(JNICALL* GetByteArrayRegion)(JNIEnv* env, jbyteArray array, jsize start, jsize len,
                                      jbyte* buf);
    void(JNICALL* GetCharArrayRegion)(JNIEnv* env, jcharArray array, jsize start, jsize len,
                                      jchar* buf);
    void(JNICALL* GetShortArrayRegion)(JNIEnv* env, jshortArray array, jsize start, jsize len,
                                       jshort* buf);
    void(JNICALL* GetIntArrayRegion)(JNIEnv* env, jintArray array, jsize start, jsize len,
                                     jint* buf);
    void(JNICALL* GetLongArrayRegion)(JNIEnv* env, jlongArray array, jsize start, jsize len,
                                      jlong* buf);
    void(JNICALL* GetFloatArrayRegion)(JNIEnv* env, jfloatArray array, jsize start, jsize len,
                                       jfloat* buf);
    void(JNICALL* GetDoubleArrayRegion)(JNIEnv* env, jdoubleArray array, jsize start, jsize len,
                                        jdouble* buf);
    void(JNICALL* SetBooleanArrayRegion)(JNIEnv* env, jbooleanArray array, jsize start, jsize len,
                                         const jboolean* buf);
    void(JNICALL* SetByteArrayRegion)(JNIEnv* env, jbyteArray array, jsize start, jsize len,
                                      const jbyte* buf);
    void(JNICALL* SetCharArrayRegion)(JNIEnv* env, jcharArray array, jsize start, jsize len,
                                      const jchar* buf);
    void(JNICALL* SetShortArrayRegion)(JNIEnv* env, jshortArray array, jsize start, jsize len,
                                       const jshort* buf);
    void(JNICALL* SetIntArrayRegion)(JNIEnv* env, jintArray array, jsize start, jsize len,
                                     const jint* buf);
    void(JNICALL* SetLongArrayRegion)(JNIEnv* env, jlongArray array, jsize start, jsize len,
                                      const jlong* buf);
    void(JNICALL* SetFloatArrayRegion)(JNIEnv* env, jfloatArray array, jsize start, jsize len,
                                       const jfloat* buf);
    void(JNICALL* SetDoubleArrayRegion)(JNIEnv* env, jdoubleArray array, jsize start, jsize len,
                                        const jdouble* buf);
    jint(JNICALL* RegisterNatives)(JNIEnv* env, jclass clazz, const JNINativeMethod* methods,
                                   jint nMethods);
    jint(JNICALL* UnregisterNatives)(JNIEnv* env, jclass clazz);
    jint(JNICALL* MonitorEnter)(JNIEnv* env, jobject obj);
    jint(JNICALL* MonitorExit)(JNIEnv* env, jobject obj);
    jint(JNICALL* GetJavaVM)(JNIEnv* env, JavaVM** vm);
    void(JNICALL* GetStringRegion)(JNIEnv* env, jstring str, jsize start, jsize len, jchar* buf);
    void(JNICALL* GetStringUTFRegion)(JNIEnv* env, jstring str, jsize start, jsize len, char* buf);
    void*(JNICALL* GetPrimitiveArrayCritical)(JNIEnv* env, jarray array, jboolean* isCopy);
    void(JNICALL* ReleasePrimitiveArrayCritical)(JNIEnv* env, jarray array, void* carray,
                                                 jint mode);
    const jchar*(JNICALL* GetStringCritical)(JNIEnv* env, jstring string, jboolean* isCopy);
    void(JNICALL* ReleaseStringCritical)(JNIEnv* env, jstring string, const jchar* cstring);
    jweak(JNICALL* NewWeakGlobalRef)(JNIEnv* env, jobject obj);
    void(JNICALL* DeleteWeakGlobalRef)(JNIEnv* env, jweak ref);
    jboolean(JNICALL* ExceptionCheck)(JNIEnv* env);
    jobject(JNICALL* NewDirectByteBuffer)(JNIEnv* env, void* address, jlong capacity);
    void*(JNICALL* GetDirectBufferAddress)(JNIEnv* env, jobject buf);
    jlong(JNICALL* GetDirectBufferCapacity)(JNIEnv* env, jobject buf);
    jobjectRefType(JNICALL* GetObjectRefType)(JNIEnv* env, jobject obj);
    jobject(JNICALL* GetModule)(JNIEnv* env, jclass clazz);
    jboolean(JNICALL* IsVirtualThread)(JNIEnv* env, jobject obj);
};

// Every slot is one pointer wide; a slot out of place moves every later call to the wrong
// function, so the positions of a few well-known slots are pinned here.
constexpr std::size_t kJniNativeInterfaceSlots = 235;
static_assert(sizeof(JNINativeInterface_) == kJniNativeInterfaceSlots * sizeof(void*));
static_assert(offsetof(JNINativeInterface_, GetVersion) == 4 * sizeof(void*));
static_assert(offsetof(JNINativeInterface_, FindClass) == 6 * sizeof(void*));
static_assert(offsetof(JNINativeInterface_, ExceptionOccurred) == 15 * sizeof(void*));
static_assert(offsetof(JNINativeInterface_, NewObject) == 28 * sizeof(void*));
static_assert(offsetof(JNINativeInterface_, GetMethodID) == 33 * sizeof(void*));
static_assert(offsetof(JNINativeInterface_, CallVoidMethod) == 61 * sizeof(void*));
static_assert(offsetof(JNINativeInterface_, GetStaticMethodID) == 113 * sizeof(void*));
static_assert(offsetof(JNINativeInterface_, CallStaticIntMethod) == 129 * sizeof(void*));
static_assert(offsetof(JNINativeInterface_, CallStaticVoidMethod) == 141 * sizeof(void*));
static_assert(offsetof(JNINativeInterface_, NewString) == 163 * sizeof(void*));
static_assert(offsetof(JNINativeInterface_, GetStringUTFChars) == 169 * sizeof(void*));
static_assert(offsetof(JNINativeInterface_, NewObjectArray) == 172 * sizeof(void*));
static_assert(offsetof(JNINativeInterface_, NewCharArray) == 177 * sizeof(void*));
static_assert(offsetof(JNINativeInterface_, SetCharArrayRegion) == 209 * sizeof(void*));
static_assert(offsetof(JNINativeInterface_, GetJavaVM) == 219 * sizeof(void*));
static_assert(offsetof(JNINativeInterface_, ExceptionCheck) == 228 * sizeof(void*));
static_assert(offsetof(JNINativeInterface_, GetObjectRefType) == 232 * sizeof(void*));

// The thread's JNI environment. The table pointer is the only data member: runtimes hand out
// pointers to their own structures that begin with it.
struct JNIEnv_ {
    const JNINativeInterface_* functions;

    jint GetVersion() { return functions->GetVersion(this); }
    jclass FindClass(const char* name) { return functions->FindClass(this, name); }
    jclass GetSuperclass(jclass sub) { return functions->GetSuperclass(this, sub); }
    jboolean IsAssignableFrom(jclass sub, jclass sup) {
        return functions->IsAssignableFrom(this, sub, sup);
    }
    jint Throw(jthrowable obj) { return functions->Throw(this, obj); }
    jint ThrowNew(jclass clazz, const char* msg) { return functions->ThrowNew(this, clazz, msg); }
    jthrowable ExceptionOccurred() { return functions->ExceptionOccurred(this); }
    void ExceptionDescribe() { functions->ExceptionDescribe(this); }
    void ExceptionClear() { functions->ExceptionClear(this); }
    jboolean ExceptionCheck() { return functions->ExceptionCheck(this); }
    jobject NewGlobalRef(jobject lobj) { return functions->NewGlobalRef(this, lobj); }
    void DeleteGlobalRef(jobject gref) { functions->DeleteGlobalRef(this, gref); }
    void DeleteLocalRef(jobject obj) { functions->DeleteLocalRef(this, obj); }
    jboolean IsSameObject(jobject obj1, jobject obj2) {
        return functions->IsSameObject(this, obj1, obj2);
    }
    jobject NewObject(jclass clazz, jmethodID methodID, ...) {
        va_list args;
        va_start(args, methodID);
        jobject result = functions->NewObjectV(this, clazz, methodID, args);
        va_end(args);
        return result;
    }
    jclass GetObjectClass(jobject obj) { return functions->GetObjectClass(this, obj); }
    jboolean IsInstanceOf(jobject obj, jclass clazz) {
        return functions->IsInstanceOf(this, obj, clazz);
    }
    jmethodID GetMethodID(jclass clazz, const char* name, const char* sig) {
        return functions->GetMethodID(this, clazz, name, sig);
    }
    jobject CallObjectMethod(jobject obj, jmethodID methodID, ...) {
        va_list args;
        va_start(args, methodID);
        jobject result = functions->CallObjectMethodV(this, obj, methodID, args);
        va_end(args);
        return result;
    }
    jint CallIntMethod(jobject obj, jmethodID methodID, ...) {
        va_list args;
        va_start(args, methodID);
        jint result = functions->CallIntMethodV(this, obj, methodID, args);
        va_end(args);
        return result;
    }
    void CallVoidMethod(jobject obj, jmethodID methodID, ...) {
        va_list args;
        va_start(args, methodID);
        functions->CallVoidMethodV(this, obj, methodID, args);
        va_end(args);
    }
    jmethodID GetStaticMethodID(jclass clazz, const char* name, const char* sig) {
        return functions->GetStaticMethodID(this, clazz, name, sig);
    }
    jobject CallStaticObjectMethod(jclass clazz, jmethodID methodID, ...) {
        va_list args;
        va_start(args, methodID);
        jobject result = functions->CallStaticObjectMethodV(this, clazz, methodID, args);
        va_end(args);
        return result;
    }
    jint CallStaticIntMethod(jclass clazz, jmethodID methodID, ...) {
        va_list args;
        va_start(args, methodID);
        jint result = functions->CallStaticIntMethodV(this, clazz, methodID, args);
        va_end(args);
        return result;
    }
    void CallStaticVoidMethod(jclass clazz, jmethodID methodID, ...) {
        va_list args;
        va_start(args, methodID);
        functions->CallStaticVoidMethodV(this, clazz, methodID, args);
        va_end(args);
    }
    jstring NewString(const jchar* unicode, jsize len) {
        return functions->NewString(this, unicode, len);
    }
    jsize GetStringLength(jstring str) { return functions->GetStringLength(this, str); }
    const jchar* GetStringChars(jstring str, jboolean* isCopy) {
        return functions->GetStringChars(this, str, isCopy);
    }
    void ReleaseStringChars(jstring str, const jchar* chars) {
        functions->ReleaseStringChars(this, str, chars);
    }
    jstring NewStringUTF(const char* utf) { return functions->NewStringUTF(this, utf); }
    jsize GetStringUTFLength(jstring str) { return functions->GetStringUTFLength(this, str); }
    const char* GetStringUTFChars(jstring str, jboolean* isCopy) {
        return functions->GetStringUTFChars(this, str, isCopy);
    }
    void ReleaseStringUTFChars(jstring str, const char* chars) {
        functions->ReleaseStringUTFChars(this, str, chars);
    }
    jsize GetArrayLength(jarray array) { return functions->GetArrayLength(this, array); }
    jobjectArray NewObjectArray(jsize len, jclass clazz, jobject init) {
        return functions->NewObjectArray(this, len, clazz, init);
    }
    jobject GetObjectArrayElement(jobjectArray array, jsize index) {
        return functions->GetObjectArrayElement(this, array, index);
    }
    void SetObjectArrayElement(jobjectArray array, jsize index, jobject val) {
        functions->SetObjectArrayElement(this, array, index, val);
    }
    jcharArray NewCharArray(jsize len) { return functions->NewCharArray(this, len); }
    void GetCharArrayRegion(jcharArray array, jsize start, jsize len, jchar* buf) {
        functions->GetCharArrayRegion(this, array, start, len, buf);
    }
    void SetCharArrayRegion(jcharArray array, jsize start, jsize len, const jchar* buf) {
        functions->SetCharArrayRegion(this, array, start, len, buf);
    }
    jint GetJavaVM(JavaVM** vm) { return functions->GetJavaVM(this, vm); }
    void GetStringRegion(jstring str, jsize start, jsize len, jchar* buf) {
        functions->GetStringRegion(this, str, start, len, buf);
    }
};

// Options and arguments of the invocation API.
struct JavaVMOption {
    char* optionString;
    void* extraInfo;
};

struct JavaVMInitArgs {
    jint version;
    jint nOptions;
    JavaVMOption* options;
    jboolean ignoreUnrecognized;
};

struct JavaVMAttachArgs {
    jint version;
    char* name;
    jobject group;
};

// The first-generation argument record; runtimes still fill its javaStackSize when
// JNI_GetDefaultJavaVMInitArgs is asked with version JNI_VERSION_1_1.
struct JDK1_1InitArgs {
    jint version;
    char** properties;
    jint checkSource;
    jint nativeStackSize;
    jint javaStackSize;
    jint minHeapSize;
    jint maxHeapSize;
    jint verifyMode;
    char* classpath;
    jint(JNICALL* vfprintf)(FILE* fp, const char* format, va_list args);
    void(JNICALL* exit)(jint code);
    void(JNICALL* abort)();
    jint enableClassGC;
    jint enableVerboseGC;
    jint disableAsyncGC;
    jint verbose;
    jboolean debugging;
    jint debugPort;
};

// The JavaVM function table: three reserved slots, then the five invocation functions.
struct JNIInvokeInterface_ {
    void* reserved0;
    void* reserved1;
    void* reserved2;
    jint(JNICALL* DestroyJavaVM)(JavaVM* vm);
    jint(JNICALL* AttachCurrentThread)(JavaVM* vm, void** penv, void* args);
    jint(JNICALL* DetachCurrentThread)(JavaVM* vm);
    jint(JNICALL* GetEnv)(JavaVM* vm, void** penv, jint version);
    jint(JNICALL* AttachCurrentThreadAsDaemon)(JavaVM* vm, void** penv, void* args);
};

constexpr std::size_t kJniInvokeInterfaceSlots = 8;
static_assert(sizeof(JNIInvokeInterface_) == kJniInvokeInterfaceSlots * sizeof(void*));
static_assert(offsetof(JNIInvokeInterface_, DestroyJavaVM) == 3 * sizeof(void*));
static_assert(offsetof(JNIInvokeInterface_, AttachCurrentThreadAsDaemon) == 7 * sizeof(void*));

struct JavaVM_ {
    const JNIInvokeInterface_* functions;

    jint DestroyJavaVM() { return functions->DestroyJavaVM(this); }
    jint AttachCurrentThread(void** penv, void* args) {
        return functions->AttachCurrentThread(this, penv, args);
    }
    jint DetachCurrentThread() { return functions->DetachCurrentThread(this); }
    jint GetEnv(void** penv, jint version) { return functions->GetEnv(this, penv, version); }
    jint AttachCurrentThreadAsDaemon(void** penv, void* args) {
        return functions->AttachCurrentThreadAsDaemon(this, penv, args);
    }
};

// The three exports of a runtime's JVM library.
using JNI_CreateJavaVM_t = jint(JNICALL*)(JavaVM** pvm, void** penv, void* args);
using JNI_GetDefaultJavaVMInitArgs_t = jint(JNICALL*)(void* args);
using JNI_GetCreatedJavaVMs_t = jint(JNICALL*)(JavaVM** vmBuf, jsize bufLen, jsize* nVMs);
