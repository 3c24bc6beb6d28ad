#include "Screenshot.h"

#include "TestFiles.h"

#include <array>
#include <cstdint>

namespace {

uint32_t crc32(const std::string& bytes, size_t from) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> entries{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = from; i < bytes.size(); ++i)
        crc = table[(crc ^ static_cast<uint8_t>(bytes[i])) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void appendBigEndian(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

void appendChunk(std::string& png, const char* type, const std::string& data) {
    appendBigEndian(png, static_cast<uint32_t>(data.size()));
    const size_t typeStart = png.size();
    png += type;
    png += data;
    appendBigEndian(png, crc32(png, typeStart));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string storedZlib(const std::string& raw) {
    std::string out = "\x78\x01";
    uint32_t a = 1, b = 0;
    for (const char c : raw) {
        a = (a + static_cast<uint8_t>(c)) % 65521;
        b = (b + a) % 65521;
    }
    size_t position = 0;
    do {
        const size_t length = std::min<size_t>(65535, raw.size() - position);
        const bool last = position + length == raw.size();
        out += static_cast<char>(last ? 1 : 0);
        out += static_cast<char>(length & 0xFF);
        out += static_cast<char>(length >> 8);
        out += static_cast<char>(~length & 0xFF);
        out += static_cast<char>((~length >> 8) & 0xFF);
        out.append(raw, position, length);
        position += length;
    } while (position < raw.size());
    appendBigEndian(out, (b << 16) | a);
    return out;
}

bool writeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool saveArea(const RECT& area, const std::wstring& name) {
    ScreenPixels pixels;
    if (!captureScreen(area, pixels))
        return false;
    const std::wstring folder = screenshotFolder();
    createFolders(folder);
    return writeFile(folder + L"\\" + name + L".png", encodePng(pixels));
}

} // namespace

COLORREF ScreenPixels::at(int x, int y) const {
    const size_t offset = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
    return RGB(static_cast<uint8_t>(rgb[offset]), static_cast<uint8_t>(rgb[offset + 1]),
               static_cast<uint8_t>(rgb[offset + 2]));
}

std::wstring screenshotFolder() {
    const std::wstring programs = testProgramFolder();
    return programs.substr(0, programs.find_last_of(L'\\')) + L"\\screenshots";
}

bool captureScreen(const RECT& area, ScreenPixels& pixels) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool captured = false;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        captured = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY) != 0;
        GdiFlush();
        SelectObject(memory, old);
        if (captured) {
            pixels.width = width;
            pixels.height = height;
            pixels.rgb.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
            const auto* source = static_cast<const uint8_t*>(bits);
            for (size_t i = 0, n = static_cast<size_t>(width) * static_cast<size_t>(height); i < n; ++i) {
                pixels.rgb[i * 3] = static_cast<char>(source[i * 4 + 2]);
                pixels.rgb[i * 3 + 1] = static_cast<char>(source[i * 4 + 1]);
                pixels.rgb[i * 3 + 2] = static_cast<char>(source[i * 4]);
            }
        }
    }
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return captured;
}

std::string encodePng(const ScreenPixels& pixels) {
    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    appendBigEndian(header, static_cast<uint32_t>(pixels.width));
    appendBigEndian(header, static_cast<uint32_t>(pixels.height));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB, deflate, no filter, no interlace
    appendChunk(png, "IHDR", header);
    std::string raw;
    const size_t rowBytes = static_cast<size_t>(pixels.width) * 3;
    raw.reserve((rowBytes + 1) * static_cast<size_t>(pixels.height));
    for (int y = 0; y < pixels.height; ++y) {
        raw += '\0'; // filter type: none
        raw.append(pixels.rgb, static_cast<size_t>(y) * rowBytes, rowBytes);
    }
    appendChunk(png, "IDAT", storedZlib(raw));
    appendChunk(png, "IEND", {});
    return png;
}

bool saveWindowScreenshot(HWND window, const std::wstring& name) {
    RECT area{};
    return GetWindowRect(window, &area) && saveArea(area, name);
}

bool saveScreenScreenshot(const std::wstring& name) {
    const RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return saveArea(area, name);
}
