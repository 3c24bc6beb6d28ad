// The screenshot helper the dialog and splash tests save their pictures with: what it captures
// is what the screen shows, and what it writes is a PNG file.
#include "Screenshot.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace {

LRESULT CALLBACK paintRed(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT client;
        GetClientRect(window, &client);
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(reinterpret_cast<HDC>(wParam), &client, red);
        DeleteObject(red);
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

TEST(Screenshot, CapturesWhatAWindowShowsAndWritesAPng) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = paintRed;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QovaScreenshotTest";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"QovaScreenshotTest", L"",
                                  WS_POPUP, 40, 50, 64, 32, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageW(&message);
    Sleep(200);

    ScreenPixels pixels;
    ASSERT_TRUE(captureScreen(RECT{40, 50, 104, 82}, pixels));
    EXPECT_EQ(pixels.width, 64);
    EXPECT_EQ(pixels.height, 32);
    EXPECT_EQ(pixels.at(32, 16), RGB(255, 0, 0));

    ASSERT_TRUE(saveWindowScreenshot(window, L"screenshot-selftest"));
    const std::string png = readBytesFile(screenshotFolder() + L"\\screenshot-selftest.png");
    ASSERT_GT(png.size(), 64u * 32u * 3u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n"));
    EXPECT_EQ(png.substr(png.size() - 8, 4), "IEND");
    DestroyWindow(window);
}
