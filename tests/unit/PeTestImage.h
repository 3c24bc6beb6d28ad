// A small 64-bit executable image for the tests of the resource reader and writer: a code
// section, the resource section built from the given resources, then the sections named after
// it (".reloc" holds a base relocation block), and bytes appended after them.
#pragma once

#include "ResourceTree.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pe_test {

inline constexpr std::size_t kOptional = 0x98;
inline constexpr std::size_t kDirectories = kOptional + 112;
inline constexpr std::size_t kSections = kOptional + 0xF0;
inline constexpr std::uint32_t kResourceAddress = 0x2000;

inline std::uint32_t get32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                      static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

inline void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

// The header fields of section `index` (0 is the code section, 1 the resources).
struct SectionFields {
    std::uint32_t virtualSize, address, rawSize, rawOffset;
};
inline SectionFields sectionFields(const std::vector<std::uint8_t>& image, std::size_t index) {
    const std::size_t at = kSections + 40 * index;
    return {get32(image, at + 8), get32(image, at + 12), get32(image, at + 16), get32(image, at + 20)};
}

// The image with `tree` as the bytes of its resource section, whatever they hold.
inline std::vector<std::uint8_t> imageWithTree(const std::vector<std::uint8_t>& tree,
                                               const std::vector<std::string>& later = {".reloc"},
                                               const std::string& appended = "") {
    std::vector<std::uint8_t> bytes(0x400, 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    put32(bytes, 0x3C, 0x80);
    put32(bytes, 0x80, 0x00004550);
    put16(bytes, 0x84, 0x8664);
    put16(bytes, 0x86, static_cast<std::uint16_t>(2 + later.size()));
    put16(bytes, 0x94, 0xF0);
    put16(bytes, 0x96, 0x22);
    put16(bytes, kOptional, 0x20B);
    put32(bytes, kOptional + 32, 0x1000);
    put32(bytes, kOptional + 36, 0x200);
    put32(bytes, kOptional + 60, 0x400);
    put16(bytes, kOptional + 68, 2);
    put32(bytes, kOptional + 108, 16);

    std::uint32_t address = 0x1000;
    std::uint32_t initialized = 0;
    const auto addSection = [&](std::size_t index, const std::string& name,
                                std::vector<std::uint8_t> data) {
        const std::size_t header = kSections + 40 * index;
        for (std::size_t i = 0; i < name.size(); ++i)
            bytes[header + i] = static_cast<std::uint8_t>(name[i]);
        const std::uint32_t raw = static_cast<std::uint32_t>((data.size() + 0x1FF) / 0x200 * 0x200);
        put32(bytes, header + 8, static_cast<std::uint32_t>(data.size()));
        put32(bytes, header + 12, address);
        put32(bytes, header + 16, raw);
        put32(bytes, header + 20, static_cast<std::uint32_t>(bytes.size()));
        put32(bytes, header + 36, index == 0 ? 0x60000020 : 0x40000040);
        if (index != 0)
            initialized += raw;
        data.resize(raw, 0);
        bytes.insert(bytes.end(), data.begin(), data.end());
        const std::uint32_t start = address;
        address += (static_cast<std::uint32_t>(data.size()) + 0xFFF) / 0x1000 * 0x1000;
        return start;
    };
    addSection(0, ".text", std::vector<std::uint8_t>(0x180, 0xC3));
    addSection(1, ".rsrc", tree);
    put32(bytes, kDirectories + 16, kResourceAddress);
    put32(bytes, kDirectories + 20, static_cast<std::uint32_t>(tree.size()));
    for (std::size_t i = 0; i < later.size(); ++i) {
        // One relocation block: page 0x1000, two 64-bit fixups.
        const std::vector<std::uint8_t> block = {0x00, 0x10, 0, 0, 12, 0, 0, 0, 0x10, 0xA0, 0x18, 0xA0};
        const std::uint32_t start = addSection(2 + i, later[i], block);
        if (later[i] == ".reloc") {
            put32(bytes, kDirectories + 40, start);
            put32(bytes, kDirectories + 44, static_cast<std::uint32_t>(block.size()));
        } else {
            put32(bytes, kDirectories + 8, start); // imports, which cannot move
            put32(bytes, kDirectories + 12, 20);
        }
    }
    put32(bytes, kOptional + 8, initialized);
    put32(bytes, kOptional + 56, address);
    bytes.insert(bytes.end(), appended.begin(), appended.end());
    return bytes;
}

inline std::vector<std::uint8_t> image(const std::vector<ResourceEntry>& resources,
                                       const std::vector<std::string>& later = {".reloc"},
                                       const std::string& appended = "") {
    return imageWithTree(buildResourceSection(resources, kResourceAddress), later, appended);
}

inline std::vector<std::uint8_t> data(const std::string& text) {
    return {text.begin(), text.end()};
}

} // namespace pe_test
