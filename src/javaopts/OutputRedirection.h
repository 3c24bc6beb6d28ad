// Files in place of the Java standard output and error streams.
#pragma once

#include "jvm/Jni.h"

#include <cstdint>
#include <string>

// Creates the missing folders on the way to the file: 0 on success (or when the file is
// already there), else the Windows error code of the last folder tried.
[[nodiscard]] std::uint32_t ensureFolders(const std::wstring& filePath);
