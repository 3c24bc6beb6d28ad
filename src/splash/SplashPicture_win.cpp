#include "splash/SplashPicture.h"

#include "launcher/SystemLibrary.h"

#include <climits>

namespace {

constexpr int kHimetricPerInch = 2540;

} // namespace

bool SplashPicture::loadFile(const std::wstring& path) {
    release();
    const UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    // The loader takes the size as a LONG; a larger file is no picture worth showing.
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > LONG_MAX)
        return false;
    // The file is read straight into the memory block the stream is made over.
    UniqueGlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size.LowPart));
    if (!block)
        return false;
    void* const bytes = GlobalLock(block.get());
    if (!bytes)
        return false;
    DWORD read = 0;
    const BOOL readOk = ReadFile(file.get(), bytes, size.LowPart, &read, nullptr);
    GlobalUnlock(block.get());
    if (!readOk || read == 0)
        return false;
    return loadBlock(std::move(block), read);
}

bool SplashPicture::loadBlock(UniqueGlobalMemory block, DWORD size) {
    if (!loadLibraries())
        return false;
    UniqueComPointer<IStream> stream;
    if (FAILED(createStreamOnHGlobal_(block.get(), TRUE, stream.put())))
        return false;
    block.release(); // the stream frees it when it is released
    if (FAILED(oleLoadPicture_(stream.get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                               reinterpret_cast<void**>(picture_.put()))) ||
        !picture_)
        return false;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    if (FAILED(picture_.get()->get_Width(&width)) || FAILED(picture_.get()->get_Height(&height))) {
        release();
        return false;
    }
    const UniqueScreenDc screen(GetDC(nullptr));
    if (!screen) {
        release();
        return false;
    }
    himetricWidth_ = width;
    himetricHeight_ = height;
    pixelWidth_ = MulDiv(GetDeviceCaps(screen.get(), LOGPIXELSX), width, kHimetricPerInch);
    pixelHeight_ = MulDiv(GetDeviceCaps(screen.get(), LOGPIXELSY), height, kHimetricPerInch);
    // A picture without area (or one whose size overflowed) has nothing to show.
    if (pixelWidth_ <= 0 || pixelHeight_ <= 0) {
        release();
        return false;
    }
    return true;
}

bool SplashPicture::loadLibraries() {
    if (createStreamOnHGlobal_ && oleLoadPicture_)
        return true;
    ole32_ = loadSystemLibrary(L"ole32.dll");
    oleaut32_ = loadSystemLibrary(L"oleaut32.dll");
    createStreamOnHGlobal_ =
        libraryFunction<decltype(&CreateStreamOnHGlobal)>(ole32_.get(), "CreateStreamOnHGlobal");
    oleLoadPicture_ = libraryFunction<decltype(&OleLoadPicture)>(oleaut32_.get(), "OleLoadPicture");
    return createStreamOnHGlobal_ && oleLoadPicture_;
}

void SplashPicture::release() {
    picture_.reset();
    himetricWidth_ = himetricHeight_ = 0;
    pixelWidth_ = pixelHeight_ = 0;
}

bool SplashPicture::draw(HDC dc, int x, int y, int cx, int cy) const {
    if (!picture_)
        return false;
    // The picture's vertical axis runs upward: the source starts at its top edge and spans a
    // negative height.
    return SUCCEEDED(picture_.get()->Render(dc, x, y, cx, cy, 0, himetricHeight_, himetricWidth_,
                                            -himetricHeight_, nullptr));
}
