#include "jvm/MappedImage.h"

#include "jvm/PeHeaders.h"

bool MappedImage::open(const std::wstring& path) {
    close();
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
        static_cast<unsigned long long>(size.QuadPart) > SIZE_MAX)
        return false;
    UniqueHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping)
        return false;
    UniqueMappedView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
    if (!view)
        return false;
    file_ = std::move(file);
    mapping_ = std::move(mapping);
    view_ = std::move(view);
    // Every header read is checked against this size, so a truncated or hostile file is never
    // read past the end of the view. Read sharing only: nobody can shorten the file meanwhile.
    size_ = static_cast<std::size_t>(size.QuadPart);
    return true;
}

bool MappedImage::isPe() const {
    return ntHeadersOffset(bytes()).has_value();
}

bool MappedImage::isMachine(std::uint16_t machine) const {
    return peMachine(bytes()) == machine;
}

std::span<const std::uint8_t> MappedImage::bytes() const {
    return {static_cast<const std::uint8_t*>(view_.get()), view_ ? size_ : 0};
}

std::optional<std::uint16_t> imageMachine(const std::wstring& path) {
    MappedImage image;
    if (!image.open(path))
        return std::nullopt;
    return peMachine(image.bytes());
}

void MappedImage::close() {
    view_.reset();
    mapping_.reset();
    file_.reset();
    size_ = 0;
}
