// The functions handed to the VM as its "exit" and "abort" hooks.
#pragma once

#include "jvm/Jni.h"

// Both forward to the process's conversation with the VM and return: the VM then finishes the
// exit or abort itself, unless the abort came while the VM was being created.
void JNICALL jvmExitHook(jint status);
void JNICALL jvmAbortHook();
