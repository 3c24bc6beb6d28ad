// A picture file decoded by the system's OLE picture loader (BMP, GIF, JPEG, icons and
// metafiles), drawn at any size. The loader's libraries are loaded with the first picture, from
// the system folder: a launch without a splash never loads them.
#pragma once

#include "launcher/UniqueHandle.h"

#include <windows.h>

#include <ole2.h>
#include <olectl.h>

#include <string>

class SplashPicture {
  public:
    SplashPicture() = default;
    SplashPicture(const SplashPicture&) = delete;
    SplashPicture& operator=(const SplashPicture&) = delete;

    // Replaces any earlier picture. False when the file cannot be read or is no picture the
    // loader knows; nothing is loaded then.
    [[nodiscard]] bool loadFile(const std::wstring& path);

    bool isLoaded() const { return static_cast<bool>(picture_); }
    // The size in screen pixels.
    int width() const { return pixelWidth_; }
    int height() const { return pixelHeight_; }

    // Draws the whole picture stretched to (x, y, cx, cy) of `dc`.
    [[nodiscard]] bool draw(HDC dc, int x, int y, int cx, int cy) const;

  private:
    [[nodiscard]] bool loadLibraries();
    [[nodiscard]] bool loadBlock(UniqueGlobalMemory block, DWORD size);
    void release();

    // Declared before the picture, so the picture is released while its code is still loaded.
    UniqueModule ole32_;
    UniqueModule oleaut32_;
    decltype(&CreateStreamOnHGlobal) createStreamOnHGlobal_ = nullptr;
    decltype(&OleLoadPicture) oleLoadPicture_ = nullptr;

    UniqueComPointer<IPicture> picture_;
    // The size the picture reports, in hundredths of a millimetre, and the same on the screen.
    LONG himetricWidth_ = 0;
    LONG himetricHeight_ = 0;
    int pixelWidth_ = 0;
    int pixelHeight_ = 0;
};
