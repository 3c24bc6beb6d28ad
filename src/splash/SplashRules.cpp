#include "splash/SplashRules.h"

#include "javaopts/PathList.h"
#include "ui/DpiScaling.h"

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

int splashVariantPercent(int dpi, int rank) {
    static constexpr int orders[3][3] = {{100, 150, 200}, {150, 200, 100}, {200, 150, 100}};
    const int percent = scaledBy(dpi, 100, 96);
    return orders[percent > 150 ? 2 : percent > 100 ? 1 : 0][rank];
}

std::wstring splashVariantPath(const std::wstring& image, int percent) {
    std::wstring path = image;
    if (percent == 100)
        return path;
    // The suffix goes before the extension of the file name, not a dot in a folder's name.
    size_t dot = path.find_last_of(L".\\/");
    if (dot == std::wstring::npos || path[dot] != L'.')
        dot = path.size();
    return path.insert(dot, percent == 200 ? L"@2x" : L"@150pct");
}

int splashShownSize(int pixels, int percent, int dpi) {
    return scaledBy(pixels, dpi * 100, percent * 96);
}
