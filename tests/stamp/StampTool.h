// Runs the built stamping tool on files of a test, and makes the files it stamps.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct ToolRun {
    DWORD exitCode = 0;
    std::string out; // UTF-8, as the tool writes to a file
    std::string err;
};

// qova-stamp.exe beside the test program, run with the arguments; waits for it to end.
ToolRun runStampTool(const std::vector<std::wstring>& arguments);

// An .ico file's bytes: one 32-bit bitmap image of each size, and then the PNG images.
std::string iconFileBytes(const std::vector<int>& bitmapSizes,
                          const std::vector<std::string>& pngImages = {});

// A 48 by 48 pixel RGBA PNG image.
std::string pngImage48();

// The image bytes of the idx-th image of an .ico file made by iconFileBytes.
std::string iconImageBytes(const std::string& iconFile, size_t index);
