#include "splash/SplashRules.h"

#include "javaopts/PathList.h"

bool wantsSplashShadow(const std::wstring& shadowSetting) {
    return shadowSetting == L"true";
}

SplashOrigin centredSplashOrigin(int screenWidth, int screenHeight, int width, int height) {
    // Division truncates toward zero, as it does for a window larger than the screen too.
    return {(screenWidth - width) / 2, (screenHeight - height) / 2};
}

std::wstring splashLibraryPath(const std::wstring& jvmLibraryPath) {
    std::wstring path = stripPathComponents(jvmLibraryPath, 2);
    if (path.empty())
        return path;
    if (path.back() != L'\\' && path.back() != L'/')
        path += L'\\';
    return path + L"splashscreen.dll";
}
