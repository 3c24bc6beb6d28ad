// The functions handed to the VM as its "exit" and "abort" hooks.
#pragma once

#include "jvm/Jni.h"

// Both forward to the launcher's exit listener, when there is one, and return: the VM then
// finishes the exit or abort itself.
void JNICALL jvmExitHook(jint status);
void JNICALL jvmAbortHook();
