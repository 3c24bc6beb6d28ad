// PNG screenshots of what the (virtual) screen shows, for looking at windows and dialogs the
// tests drive. The files land in the build folder's "screenshots" folder.
#pragma once

#include <windows.h>

#include <string>

// <build folder>\screenshots, created on demand (the test programs run from <build>\bin).
std::wstring screenshotFolder();

// Saves the screen area of `window` (its whole window rectangle, frame included) as a PNG file
// named `name` + ".png" in screenshotFolder(). False when nothing could be captured or written.
bool saveWindowScreenshot(HWND window, const std::wstring& name);

// The same for the whole primary screen.
bool saveScreenScreenshot(const std::wstring& name);

// The pixels of a screen rectangle, top row first, 3 bytes (red, green, blue) a pixel.
struct ScreenPixels {
    int width = 0;
    int height = 0;
    std::string rgb;

    // The colour at (x, y) as a COLORREF (0x00bbggrr).
    COLORREF at(int x, int y) const;
};
bool captureScreen(const RECT& area, ScreenPixels& pixels);

// An 8-bit RGB image encoded as PNG (uncompressed deflate blocks: no library needed).
std::string encodePng(const ScreenPixels& pixels);
