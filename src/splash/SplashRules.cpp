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

std::array<SplashVariant, 3> splashVariants(const std::wstring& image, int dpi) {
    // The suffix goes before the extension of the file name, not a dot in a folder's name.
    const size_t slash = image.find_last_of(L"\\/");
    size_t dot = image.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        dot = image.size();
    const auto variant = [&](const wchar_t* suffix, int percent) {
        return SplashVariant{std::wstring(image).insert(dot, suffix), percent};
    };
    SplashVariant base{image, 100};
    SplashVariant middle = variant(L"@150pct", 150);
    SplashVariant large = variant(L"@2x", 200);
    const int percent = scaledBy(dpi, 100, 96);
    if (percent > 150)
        return {std::move(large), std::move(middle), std::move(base)};
    if (percent > 100)
        return {std::move(middle), std::move(large), std::move(base)};
    return {std::move(base), std::move(middle), std::move(large)};
}

int splashShownSize(int pixels, int percent, int dpi) {
    return scaledBy(pixels, dpi * 100, percent * 96);
}
