#include "ui/WindowDpi.h"

#include "launcher/SystemLibrary.h"
#include "ui/WindowDc.h"

int windowDpi(HWND window) {
    // GetDpiForWindow came with Windows 10 1607, and Wine may lack it or answer one value for
    // every monitor: looked up in user32, which every window has loaded already, with the
    // window's device context as the answer where it is missing (the system's scale then,
    // which a launcher aware of each monitor's scale is given on older systems).
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    if (const auto getDpiForWindow = libraryFunction<GetDpiForWindowFunction>(
            GetModuleHandleW(L"user32.dll"), "GetDpiForWindow"))
        if (const UINT dpi = getDpiForWindow(window))
            return static_cast<int>(dpi);
    const WindowDc dc(window);
    return dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
}
