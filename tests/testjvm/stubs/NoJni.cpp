// A library in the place of jvm.dll that exports none of the invocation functions (built as
// nojni.dll), or only JNI_CreateJavaVM (built as createonly.dll, with QOVA_CREATE_ONLY): the
// launcher must refuse both before it creates anything.
#include "jvm/Jni.h"

#ifdef QOVA_CREATE_ONLY
extern "C" JNIEXPORT jint JNICALL JNI_CreateJavaVM(JavaVM** pvm, void** penv, void*) {
    if (pvm)
        *pvm = nullptr;
    if (penv)
        *penv = nullptr;
    return JNI_ERR;
}
#else
extern "C" __declspec(dllexport) int testjvmNotAJvm() {
    return 0;
}
#endif
