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
