// A library in the place of jvm.dll that imports from a library no runtime ships (built as
// missingdep.dll): loading it fails as a runtime with a missing dependency does.
#include "jvm/Jni.h"

extern "C" __declspec(dllimport) int qovaAbsentFunction();

extern "C" JNIEXPORT jint JNICALL JNI_CreateJavaVM(JavaVM**, void**, void*) {
    return qovaAbsentFunction();
}
