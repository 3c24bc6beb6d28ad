// Java strings and string arrays made from the launcher's UTF-16 texts.
#pragma once

#include "jvm/Jni.h"

#include <string>
#include <vector>

// A new java.lang.String from the UTF-16 code units of text (no code page is involved), as a
// local reference; null when the class, its constructor or the character array is missing or
// a Java exception was raised (it stays pending).
[[nodiscard]] jstring newJavaString(JNIEnv* env, const std::wstring& text);

// A new String[] holding the texts in order, as a local reference; null when any part of it
// cannot be made.
[[nodiscard]] jobjectArray newStringArray(JNIEnv* env, const std::vector<std::wstring>& texts);
