#include "splash/RuntimeSplash.h"

#include "javaopts/AnsiText.h"
#include "launcher/Launcher.h"
#include "launcher/SystemLibrary.h"
#include "splash/SplashRules.h"

namespace {

using SplashInitFunction = void(__cdecl*)();
using SplashLoadFileFunction = int(__cdecl*)(const char* fileName);
using SplashSetFileJarNameFunction = void(__cdecl*)(const char* fileName, const char* jarName);

} // namespace

std::wstring findSplashLibrary(const std::wstring& jvmLibraryPath) {
    const std::wstring path = splashLibraryPath(jvmLibraryPath);
    if (path.empty())
        return path;
    WIN32_FIND_DATAW found;
    const UniqueFind search(FindFirstFileW(path.c_str(), &found));
    return search ? path : std::wstring();
}

bool Launcher::startRuntimeSplash(const std::wstring& libraryPath, const std::wstring& imagePath) {
    // The library belongs to the chosen runtime and stays loaded for the life of the process:
    // splashClose points into it until cleanup, and what it shows is its own until then.
    const HMODULE library = LoadLibraryW(libraryPath.c_str());
    if (!library)
        return false;
    const auto init = libraryFunction<SplashInitFunction>(library, "SplashInit");
    const auto loadFile = libraryFunction<SplashLoadFileFunction>(library, "SplashLoadFile");
    const auto setFileJarName =
        libraryFunction<SplashSetFileJarNameFunction>(library, "SplashSetFileJarName");
    // Kept even when the library is not used for the splash: cleanup still closes it.
    splashClose = libraryFunction<SplashCloseFunction>(library, "SplashClose");
    if (!init || !loadFile || !setFileJarName)
        return false;
    init();
    // The library takes file names in the ANSI code page, as the VM takes its options: a path
    // the code page cannot hold goes by its short name. Its answers are its own business.
    const std::string fileName = toAnsiPath(imagePath);
    (void)loadFile(fileName.c_str());
    setFileJarName(fileName.c_str(), "");
    return true;
}
