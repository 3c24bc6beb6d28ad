// The launcher's own splash window: a borderless tool window of the class "SplashScreenWindow"
// showing a picture, centred on the primary screen. The object is made on one thread; its
// window lives on the thread that calls create, which must serve its messages.
#pragma once

#include "launcher/UniqueHandle.h"

#include <windows.h>

#include <string>

inline constexpr wchar_t kSplashWindowClass[] = L"SplashScreenWindow";

class SplashWindow {
  public:
    SplashWindow() = default;
    SplashWindow(const SplashWindow&) = delete;
    SplashWindow& operator=(const SplashWindow&) = delete;

    // Renders the picture at `imagePath` and creates the window, not yet shown, with the size of
    // the picture. Null when the picture cannot be loaded or the window cannot be made.
    [[nodiscard]] HWND create(const std::wstring& imagePath, bool withShadow);

  private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT processMessage(UINT message, WPARAM wParam, LPARAM lParam);
    [[nodiscard]] bool render(const std::wstring& imagePath, int dpi);
    void paint();

    HWND hwnd_ = nullptr;
    // The rendered picture, kept for painting; it outlives the window.
    UniqueGdiObject bitmap_;
    int width_ = 0;
    int height_ = 0;
};
