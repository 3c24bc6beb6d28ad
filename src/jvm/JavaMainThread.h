// The Java main thread: it creates the VM and calls the main class's main method.
#pragma once

#include "jvm/Jni.h"

#include <windows.h>

// Thread entry; the parameter is the Launcher. 0 when main was called, 1 when the VM could
// not be created or main could not be called.
DWORD WINAPI javaMainThreadProc(void* launcher);

// System.exit(-1) through JNI, for the user's choice to stop after an uncaught exception.
void exitOnStop(JNIEnv* env);
