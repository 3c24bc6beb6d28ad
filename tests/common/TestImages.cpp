#include "TestImages.h"

#include "TestFiles.h"

#include <cstdint>
#include <cstdlib>

namespace {

void putLittleEndian(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

COLORREF quadrantColour(int x, int y, int width, int height) {
    return kQuadrantColours[(x >= width / 2 ? 1 : 0) + (y >= height / 2 ? 2 : 0)];
}

bool close(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string colourText(COLORREF colour) {
    return "(" + std::to_string(GetRValue(colour)) + "," + std::to_string(GetGValue(colour)) + "," +
           std::to_string(GetBValue(colour)) + ")";
}

} // namespace

std::wstring testImagePath(const std::wstring& name) {
    return testProgramFolder() + L"\\images\\" + name;
}

void writeQuadrantBitmap(const std::wstring& path, int width, int height) {
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(height);
    std::string file = "BM";
    putLittleEndian(file, 54 + pixelBytes, 4);
    putLittleEndian(file, 0, 4);
    putLittleEndian(file, 54, 4);
    putLittleEndian(file, 40, 4); // BITMAPINFOHEADER
    putLittleEndian(file, static_cast<uint32_t>(width), 4);
    putLittleEndian(file, static_cast<uint32_t>(height), 4); // bottom row first
    putLittleEndian(file, 1, 2);
    putLittleEndian(file, 24, 2);
    putLittleEndian(file, 0, 4); // BI_RGB
    putLittleEndian(file, pixelBytes, 4);
    putLittleEndian(file, 3780, 4); // 96 dots per inch
    putLittleEndian(file, 3780, 4);
    putLittleEndian(file, 0, 4);
    putLittleEndian(file, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            const COLORREF colour = quadrantColour(x, y, width, height);
            row += static_cast<char>(GetBValue(colour));
            row += static_cast<char>(GetGValue(colour));
            row += static_cast<char>(GetRValue(colour));
        }
        row.resize(rowBytes, '\0');
        file += row;
    }
    writeBytesFile(path, file);
}

std::string quadrantMismatch(const ScreenPixels& pixels, int tolerance) {
    std::string mismatch;
    for (int quadrant = 0; quadrant < 4; ++quadrant) {
        const int x = pixels.width / 4 + (quadrant % 2) * pixels.width / 2;
        const int y = pixels.height / 4 + (quadrant / 2) * pixels.height / 2;
        const COLORREF seen = pixels.at(x, y);
        if (!close(seen, kQuadrantColours[quadrant], tolerance))
            mismatch += "at (" + std::to_string(x) + "," + std::to_string(y) + ") " +
                        colourText(seen) + " instead of " + colourText(kQuadrantColours[quadrant]) +
                        "; ";
    }
    return mismatch;
}
