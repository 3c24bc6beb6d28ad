// .ico files, and the icon group directory by which an executable's resources list the
// images of one icon.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct IconImage {
    // As in the file's directory: 0 stands for 256 pixels. Planes and bit count are taken
    // from the image itself where the directory leaves them 0, as PNG images often do, so
    // that Windows can still pick the best image by its colour depth.
    std::uint8_t width = 0;
    std::uint8_t height = 0;
    std::uint8_t colorCount = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    bool isPng = false;
    std::span<const std::uint8_t> data; // inside the bytes given to parseIconFile
};

enum class IconFileProblem {
    none,
    notIconHeader,      // shorter than a header, or reserved/type fields not 0 and 1
    noImages,           // the header counts none
    directoryCut,       // the directory runs past the end of the file
    imageOutsideFile,   // an image's offset and size do not lie inside the file
    imageNotBitmapOrPng // an image is neither a device-independent bitmap nor a PNG
};

struct IconFile {
    std::vector<IconImage> images; // none when there is a problem
    IconFileProblem problem = IconFileProblem::none;
    std::size_t imageIndex = 0; // 0-based, for the image problems
};

[[nodiscard]] IconFile parseIconFile(std::span<const std::uint8_t> bytes);

struct IconGroupEntry {
    std::uint8_t width = 0;
    std::uint8_t height = 0;
    std::uint8_t colorCount = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t size = 0;
    std::uint16_t id = 0; // of the RT_ICON resource holding the image
};

// The RT_GROUP_ICON resource for images stored as RT_ICON resources with the given ids (one
// id per image, in the same order).
[[nodiscard]] std::vector<std::uint8_t> buildIconGroup(std::span<const IconImage> images,
                                                       std::span<const std::uint16_t> ids);

// The entries of an RT_GROUP_ICON resource; false when it is not a whole group directory.
[[nodiscard]] bool parseIconGroup(std::span<const std::uint8_t> bytes,
                                  std::vector<IconGroupEntry>& entries);

// `count` RT_ICON ids, the smallest from 1 up that are not in `taken`, so that stamping the
// same icon again picks the same ids. Fewer when the ids run out.
[[nodiscard]] std::vector<std::uint16_t> freeIconIds(std::size_t count,
                                                     std::span<const std::uint16_t> taken);
