// The splash decisions that need no window: which settings ask for what, where the window goes,
// and where the runtime keeps its own splash library.
#pragma once

#include <string>

// Only the exact text "true" asks for the drop shadow: "True" or "yes" leave it off.
[[nodiscard]] bool wantsSplashShadow(const std::wstring& shadowSetting);

struct SplashOrigin {
    int left = 0;
    int top = 0;
};

// The top-left corner that centres a window of the given size on a screen of the given size.
// A window larger than the screen gets a negative corner and stays centred.
[[nodiscard]] SplashOrigin centredSplashOrigin(int screenWidth, int screenHeight, int width,
                                               int height);

// <runtime>\bin\splashscreen.dll for a JVM library at <runtime>\bin\<type>\jvm.dll; empty when
// the library path leaves no folder to look in.
[[nodiscard]] std::wstring splashLibraryPath(const std::wstring& jvmLibraryPath);

// The display scales, in percent, of the pictures to try on a monitor of `dpi`, best first
// (`rank` 0 to 2): those drawn for the monitor's scale or above, the nearest first (shrinking
// keeps the detail that enlarging would have to invent), then those drawn for less, the
// nearest first.
[[nodiscard]] int splashVariantPercent(int dpi, int rank);

// The picture drawn for `percent` beside the configured `image`: the image itself for 100,
// the file with "@150pct" or "@2x" before the extension of its name for 150 and 200.
[[nodiscard]] std::wstring splashVariantPath(const std::wstring& image, int percent);

// The width or height on a monitor of `dpi` of a picture `pixels` large drawn for `percent`.
[[nodiscard]] int splashShownSize(int pixels, int percent, int dpi);
