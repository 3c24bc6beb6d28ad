// .ico files as the stamping tool reads them, and the icon group directory it writes.
#include "IconFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

void put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    put16(bytes, at, static_cast<std::uint16_t>(value));
    put16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

std::vector<std::uint8_t> bitmapImage(std::uint16_t bitCount, std::size_t size = 48) {
    std::vector<std::uint8_t> image(size, 0x11);
    put32(image, 0, 40);
    put16(image, 14, bitCount);
    return image;
}

// A PNG start: signature, then the IHDR chunk with the bit depth and colour type.
std::vector<std::uint8_t> pngImage(std::uint8_t depth, std::uint8_t colourType) {
    std::vector<std::uint8_t> image = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13,
                                       'I',  'H', 'D', 'R', 0,    0,    1,    0,    0, 0, 1, 0};
    image.push_back(depth);
    image.push_back(colourType);
    image.resize(40, 0);
    return image;
}

struct Entry {
    std::uint8_t width;
    std::uint16_t bitCount;
    std::vector<std::uint8_t> data;
};

std::vector<std::uint8_t> iconFile(const std::vector<Entry>& entries) {
    std::vector<std::uint8_t> bytes(6 + 16 * entries.size(), 0);
    put16(bytes, 2, 1);
    put16(bytes, 4, static_cast<std::uint16_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t at = 6 + 16 * i;
        bytes[at] = entries[i].width;
        bytes[at + 1] = entries[i].width;
        put16(bytes, at + 4, entries[i].bitCount ? 1 : 0);
        put16(bytes, at + 6, entries[i].bitCount);
        put32(bytes, at + 8, static_cast<std::uint32_t>(entries[i].data.size()));
        put32(bytes, at + 12, static_cast<std::uint32_t>(bytes.size()));
        bytes.insert(bytes.end(), entries[i].data.begin(), entries[i].data.end());
    }
    return bytes;
}

TEST(IconFile, ReadsEveryImageAndFillsMissingDepths) {
    const std::vector<std::uint8_t> bytes = iconFile({{16, 32, bitmapImage(32)},
                                                      {32, 0, bitmapImage(8)},
                                                      {0, 0, pngImage(8, 6)},
                                                      {48, 0, pngImage(8, 2)}});
    const IconFile icon = parseIconFile(bytes);
    ASSERT_EQ(icon.problem, IconFileProblem::none);
    ASSERT_EQ(icon.images.size(), 4u);
    EXPECT_EQ(icon.images[0].bitCount, 32);
    EXPECT_FALSE(icon.images[0].isPng);
    EXPECT_EQ(icon.images[0].data.size(), 48u);
    // Depths left 0 in the directory come from the image: the bitmap header, or the PNG's bit
    // depth times its channels (RGBA, RGB); planes become 1.
    EXPECT_EQ(icon.images[1].bitCount, 8);
    EXPECT_EQ(icon.images[1].planes, 1);
    EXPECT_EQ(icon.images[2].bitCount, 32);
    EXPECT_TRUE(icon.images[2].isPng);
    EXPECT_EQ(icon.images[2].width, 0); // 256 pixels
    EXPECT_EQ(icon.images[3].bitCount, 24);
    EXPECT_EQ(icon.images[3].data.data(), bytes.data() + bytes.size() - 40);
}

TEST(IconFile, RefusesWhatIsNotAnIcon) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        IconFileProblem problem;
        std::size_t imageIndex;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}, IconFileProblem::notIconHeader, 0});
    cases.push_back({"a PNG file", pngImage(8, 6), IconFileProblem::notIconHeader, 0});
    std::vector<std::uint8_t> cursor = iconFile({{16, 32, bitmapImage(32)}});
    put16(cursor, 2, 2); // type 2 is a cursor
    cases.push_back({"a cursor", cursor, IconFileProblem::notIconHeader, 0});
    cases.push_back({"no images", iconFile({}), IconFileProblem::noImages, 0});
    std::vector<std::uint8_t> cut = iconFile({{16, 32, bitmapImage(32)}});
    put16(cut, 4, 9); // claims nine entries
    cases.push_back({"directory cut", cut, IconFileProblem::directoryCut, 0});
    std::vector<std::uint8_t> outside =
        iconFile({{16, 32, bitmapImage(32)}, {32, 32, bitmapImage(32)}});
    put32(outside, 6 + 16 + 8, 49); // the second image one byte longer than the file
    cases.push_back({"image past the end", outside, IconFileProblem::imageOutsideFile, 1});
    std::vector<std::uint8_t> wrapping = iconFile({{16, 32, bitmapImage(32)}});
    put32(wrapping, 6 + 12, 0xFFFFFFF0u); // offset + size wraps around
    cases.push_back({"offset that wraps", wrapping, IconFileProblem::imageOutsideFile, 0});
    std::vector<std::uint8_t> empty = iconFile({{16, 32, bitmapImage(32)}});
    put32(empty, 6 + 8, 0);
    cases.push_back({"empty image", empty, IconFileProblem::imageOutsideFile, 0});
    std::vector<std::uint8_t> text(48, 'x');
    cases.push_back({"text as image", iconFile({{16, 32, bitmapImage(32)}, {16, 32, text}}),
                     IconFileProblem::imageNotBitmapOrPng, 1});
    std::vector<std::uint8_t> shortBitmap = bitmapImage(32, 39);
    cases.push_back({"bitmap header cut", iconFile({{16, 32, shortBitmap}}),
                     IconFileProblem::imageNotBitmapOrPng, 0});

    for (const Case& c : cases) {
        const IconFile icon = parseIconFile(c.bytes);
        EXPECT_EQ(icon.problem, c.problem) << c.name;
        EXPECT_EQ(icon.imageIndex, c.imageIndex) << c.name;
        EXPECT_TRUE(icon.images.empty()) << c.name;
    }
}

TEST(IconFile, GroupDirectoryListsImagesUnderTheirResourceIds) {
    const std::vector<std::uint8_t> bytes =
        iconFile({{16, 32, bitmapImage(32)}, {0, 0, pngImage(8, 6)}});
    const IconFile icon = parseIconFile(bytes);
    const std::vector<std::uint16_t> ids = {7, 9};
    const std::vector<std::uint8_t> group = buildIconGroup(icon.images, ids);
    ASSERT_EQ(group.size(), 6u + 2 * 14);

    std::vector<IconGroupEntry> entries;
    ASSERT_TRUE(parseIconGroup(group, entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].width, 16);
    EXPECT_EQ(entries[0].bitCount, 32);
    EXPECT_EQ(entries[0].size, 48u);
    EXPECT_EQ(entries[0].id, 7);
    EXPECT_EQ(entries[1].width, 0);
    EXPECT_EQ(entries[1].planes, 1);
    EXPECT_EQ(entries[1].size, 40u);
    EXPECT_EQ(entries[1].id, 9);

    std::vector<std::uint8_t> cut(group.begin(), group.end() - 1);
    EXPECT_FALSE(parseIconGroup(cut, entries));
    EXPECT_FALSE(parseIconGroup({}, entries));
}

TEST(IconFile, FreeIdsAreTheSmallestNotTaken) {
    EXPECT_EQ(freeIconIds(3, std::vector<std::uint16_t>{}), (std::vector<std::uint16_t>{1, 2, 3}));
    EXPECT_EQ(freeIconIds(3, std::vector<std::uint16_t>{2, 4}),
              (std::vector<std::uint16_t>{1, 3, 5}));
    std::vector<std::uint16_t> all;
    for (std::uint32_t id = 1; id <= 0xFFFF; ++id)
        all.push_back(static_cast<std::uint16_t>(id));
    all.erase(all.begin() + 99); // only 100 is free
    EXPECT_EQ(freeIconIds(2, all), (std::vector<std::uint16_t>{100}));
}

} // namespace
