#include "splash/SplashWindow.h"

#include "launcher/LaunchTrace.h"
#include "splash/SplashPicture.h"
#include "splash/SplashRules.h"
#include "ui/WindowDpi.h"

namespace {

// Puts a GDI object into a device context and takes it out again, so that neither is deleted
// while the other still holds it.
class Selection {
  public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace

HWND SplashWindow::create(const std::wstring& imagePath, bool withShadow) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS | CS_SAVEBITS | (withShadow ? CS_DROPSHADOW : 0);
    windowClass.lpfnWndProc = &SplashWindow::windowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kSplashWindowClass;
    // The class is registered once per process; a later splash reuses it. A system that
    // refuses the drop shadow gets the window without it.
    const auto registered = [&windowClass] {
        return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    };
    if (!registered()) {
        if (!withShadow)
            return nullptr;
        windowClass.style &= ~CS_DROPSHADOW;
        if (!registered())
            return nullptr;
    }

    // Without a picture there is nothing to show: no window at all, rather than an invisible
    // one that would own the launcher's message boxes. The scale is the screen's, the
    // primary monitor's that the splash is centred on.
    if (!render(imagePath, windowDpi(nullptr)))
        return nullptr;
    const SplashOrigin origin = centredSplashOrigin(GetSystemMetrics(SM_CXSCREEN),
                                                    GetSystemMetrics(SM_CYSCREEN), width_, height_);
    return CreateWindowExW(WS_EX_TOOLWINDOW, kSplashWindowClass, nullptr, WS_POPUP, origin.left,
                           origin.top, width_, height_, nullptr, nullptr, GetModuleHandleW(nullptr),
                           this);
}

bool SplashWindow::render(const std::wstring& imagePath, int dpi) {
    traceWindowDpi("splash", dpi, false);
    // A picture drawn for the monitor's scale where there is one beside the configured one,
    // shown pixel for pixel; any other scaled smoothly to the monitor's scale.
    SplashPicture picture;
    int width = 0;
    int height = 0;
    for (int rank = 0; rank < 3; ++rank) {
        const int percent = splashVariantPercent(dpi, rank);
        const std::wstring path = splashVariantPath(imagePath, percent);
        if (picture.loadFile(path)) {
            width = splashShownSize(picture.width(), percent, dpi);
            height = splashShownSize(picture.height(), percent, dpi);
            break;
        }
    }
    if (!picture.isLoaded() || width <= 0 || height <= 0)
        return false;
    // Rendered once, into a bitmap in the screen's format: painting is then a plain copy, and
    // the decoder's objects are gone before the window shows.
    const UniqueScreenDc screen(GetDC(nullptr));
    if (!screen)
        return false;
    UniqueGdiObject bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    const UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    if (!bitmap || !memory)
        return false;
    bool drawn = false;
    {
        const Selection selection(memory.get(), bitmap.get());
        // HALFTONE averages the pixels a stretch or shrink combines, where the default drops
        // or repeats whole rows and columns; it needs the brush origin set after it.
        SetStretchBltMode(memory.get(), HALFTONE);
        SetBrushOrgEx(memory.get(), 0, 0, nullptr);
        drawn = picture.draw(memory.get(), 0, 0, width, height);
    }
    if (!drawn)
        return false;
    bitmap_ = std::move(bitmap);
    width_ = width;
    height_ = height;
    return true;
}

LRESULT CALLBACK SplashWindow::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    // The object comes with the creation parameters; a few messages arrive before it does.
    if (message == WM_NCCREATE) {
        auto* const self = static_cast<SplashWindow*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* const self = reinterpret_cast<SplashWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->processMessage(message, wParam, lParam)
                : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT SplashWindow::processMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the picture covers the whole window
    case WM_DPICHANGED:
        // Recorded only: the splash stays where and as it opened, for the few seconds it shows.
        traceWindowDpi("splash", LOWORD(wParam), true);
        return 0;
    default:
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

void SplashWindow::paint() {
    PAINTSTRUCT paintInfo;
    const HDC dc = BeginPaint(hwnd_, &paintInfo);
    if (dc) {
        const UniqueMemoryDc memory(CreateCompatibleDC(dc));
        if (memory) {
            const Selection selection(memory.get(), bitmap_.get());
            BitBlt(dc, 0, 0, width_, height_, memory.get(), 0, 0, SRCCOPY);
        }
    }
    EndPaint(hwnd_, &paintInfo);
}
