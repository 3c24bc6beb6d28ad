// The text Java prints for an exception, fetched through JNI.
#pragma once

#include "jvm/Jni.h"

#include <string>

// What printStackTrace writes for the exception (its causes included), decoded with the VM's
// default charset; empty when any step fails. Call it with no exception pending; one raised on
// the way is printed on the VM's standard error and cleared.
std::wstring stackTraceText(jthrowable exception, JNIEnv* env);

// A java.io.PrintStream over the output stream, as a local reference; null when the class or
// its constructor is missing or the constructor throws (the exception is left pending).
[[nodiscard]] jobject newPrintStream(JNIEnv* env, jobject outputStream);
