#include "IconFile.h"

#include "ByteReading.h"

#include <algorithm>

namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kFileEntrySize = 16;
constexpr std::size_t kGroupEntrySize = 14;
constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t kPngColourTypeOffset = 25; // signature, IHDR length and type, size, depth
constexpr std::size_t kBitmapBitCountOffset = 14;

bool isPng(std::span<const std::uint8_t> image) {
    return image.size() > kPngColourTypeOffset &&
           std::equal(std::begin(kPngSignature), std::end(kPngSignature), image.begin()) &&
           image[12] == 'I' && image[13] == 'H' && image[14] == 'D' && image[15] == 'R';
}

// A BITMAPINFOHEADER, or one of its two longer successors.
bool isBitmap(std::span<const std::uint8_t> image) {
    if (image.size() < 40)
        return false;
    const std::uint32_t headerSize = readLe32(image, 0);
    return (headerSize == 40 || headerSize == 108 || headerSize == 124) &&
           headerSize <= image.size();
}

// Bits per pixel of a PNG: its bit depth times the channels of its colour type.
std::uint16_t pngBitCount(std::span<const std::uint8_t> image) {
    const std::uint8_t depth = image[kPngColourTypeOffset - 1];
    switch (image[kPngColourTypeOffset]) {
    case 2:
        return static_cast<std::uint16_t>(depth * 3); // RGB
    case 4:
        return static_cast<std::uint16_t>(depth * 2); // grey and alpha
    case 6:
        return static_cast<std::uint16_t>(depth * 4); // RGBA
    default:
        return depth; // grey, palette
    }
}

bool isIconHeader(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= kHeaderSize && readLe16(bytes, 0) == 0 && readLe16(bytes, 2) == 1;
}

} // namespace

IconFile parseIconFile(std::span<const std::uint8_t> bytes) {
    IconFile file;
    if (!isIconHeader(bytes)) {
        file.problem = IconFileProblem::notIconHeader;
        return file;
    }
    const std::size_t count = readLe16(bytes, 4);
    if (count == 0) {
        file.problem = IconFileProblem::noImages;
        return file;
    }
    if (bytes.size() - kHeaderSize < count * kFileEntrySize) {
        file.problem = IconFileProblem::directoryCut;
        return file;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = kHeaderSize + i * kFileEntrySize;
        const std::uint32_t size = readLe32(bytes, entry + 8);
        const std::uint32_t offset = readLe32(bytes, entry + 12);
        file.imageIndex = i;
        if (size == 0 || offset > bytes.size() || size > bytes.size() - offset) {
            file.problem = IconFileProblem::imageOutsideFile;
            file.images.clear();
            return file;
        }
        IconImage image;
        image.width = bytes[entry];
        image.height = bytes[entry + 1];
        image.colorCount = bytes[entry + 2];
        image.planes = readLe16(bytes, entry + 4);
        image.bitCount = readLe16(bytes, entry + 6);
        image.data = bytes.subspan(offset, size);
        image.isPng = isPng(image.data);
        if (!image.isPng && !isBitmap(image.data)) {
            file.problem = IconFileProblem::imageNotBitmapOrPng;
            file.images.clear();
            return file;
        }
        if (image.planes == 0)
            image.planes = 1;
        if (image.bitCount == 0)
            image.bitCount =
                image.isPng ? pngBitCount(image.data) : readLe16(image.data, kBitmapBitCountOffset);
        file.images.push_back(image);
    }
    file.imageIndex = 0;
    return file;
}

std::vector<std::uint8_t> buildIconGroup(std::span<const IconImage> images,
                                         std::span<const std::uint16_t> ids) {
    std::vector<std::uint8_t> group;
    appendLe16(group, 0);
    appendLe16(group, 1);
    appendLe16(group, static_cast<std::uint16_t>(images.size()));
    for (std::size_t i = 0; i < images.size(); ++i) {
        const IconImage& image = images[i];
        group.push_back(image.width);
        group.push_back(image.height);
        group.push_back(image.colorCount);
        group.push_back(0);
        appendLe16(group, image.planes);
        appendLe16(group, image.bitCount);
        appendLe32(group, static_cast<std::uint32_t>(image.data.size()));
        appendLe16(group, ids[i]);
    }
    return group;
}

bool parseIconGroup(std::span<const std::uint8_t> bytes, std::vector<IconGroupEntry>& entries) {
    entries.clear();
    if (!isIconHeader(bytes))
        return false;
    const std::size_t count = readLe16(bytes, 4);
    if (bytes.size() - kHeaderSize < count * kGroupEntrySize)
        return false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kHeaderSize + i * kGroupEntrySize;
        entries.push_back({bytes[at], bytes[at + 1], bytes[at + 2], readLe16(bytes, at + 4),
                           readLe16(bytes, at + 6), readLe32(bytes, at + 8),
                           readLe16(bytes, at + 12)});
    }
    return true;
}

std::vector<std::uint16_t> freeIconIds(std::size_t count, std::span<const std::uint16_t> taken) {
    std::vector<bool> isTaken(0x10000, false);
    for (const std::uint16_t id : taken)
        isTaken[id] = true;
    std::vector<std::uint16_t> ids;
    for (std::uint32_t id = 1; id <= 0xFFFF && ids.size() < count; ++id)
        if (!isTaken[id])
            ids.push_back(static_cast<std::uint16_t>(id));
    return ids;
}
