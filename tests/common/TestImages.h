// The pictures the splash tests show: four quadrants of known colours, so that a screenshot
// tells a picture drawn upside down, mirrored or scaled from the right one. The GIF and JPEG
// files are checked in (tests/images, copied beside the test programs); BMP files of any size
// are written on demand.
#pragma once

#include "Screenshot.h"

#include <windows.h>

#include <string>

// Top left, top right, bottom left, bottom right.
inline constexpr COLORREF kQuadrantColours[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255),
                                                 RGB(255, 255, 255)};
// The size of the checked-in pictures.
inline constexpr int kQuadrantWidth = 96;
inline constexpr int kQuadrantHeight = 64;

// <test programs>\images\<name>: "quadrants.gif" or "quadrants.jpg".
std::wstring testImagePath(const std::wstring& name);

// Writes a 24-bit BMP of the given size with the four quadrants.
void writeQuadrantBitmap(const std::wstring& path, int width = kQuadrantWidth,
                         int height = kQuadrantHeight);

// Empty when `pixels` (a capture of the whole picture) shows the four quadrants, each colour
// channel within `tolerance` (JPEG is lossy) at the middle of each quadrant; otherwise what
// differs.
std::string quadrantMismatch(const ScreenPixels& pixels, int tolerance);
