// The Java runtime's own splash library, bin\splashscreen.dll beside its JVM library.
#pragma once

#include <string>

// The library's full path, or empty when the runtime has none.
[[nodiscard]] std::wstring findSplashLibrary(const std::wstring& jvmLibraryPath);
