// What the stamping tool reads of a PE image's headers, the one place it reads them: the
// machine and kind of image, and the parts that rebuilding its resources moves (the optional
// header's sizes and alignments, the data directories, the section table). Read from the file
// bytes, every field checked against them, since any file may be handed to the tool.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

inline constexpr std::size_t kDirectoryResources = 2;
inline constexpr std::size_t kDirectorySecurity = 4;
inline constexpr std::size_t kDirectoryRelocations = 5;

struct PeSection {
    std::string name; // up to 8 characters, as in the header
    std::uint32_t virtualSize = 0;
    std::uint32_t virtualAddress = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawOffset = 0;
    std::size_t header = 0; // file offset of its entry in the section table
};

struct PeDirectory {
    std::uint32_t address = 0; // an RVA, except for the security directory: a file offset
    std::uint32_t size = 0;
};

struct PeLayout {
    std::size_t fileHeader = 0;     // after "PE\0\0"
    std::uint16_t machine = 0;
    std::uint16_t characteristics = 0;
    std::size_t optionalHeader = 0; // its Magic field
    bool is64Bit = false;
    std::uint32_t sizeOfHeaders = 0;
    std::uint32_t sectionAlignment = 0;
    std::uint32_t fileAlignment = 0;
    std::size_t directoryTable = 0; // file offset of the first data directory
    std::vector<PeDirectory> directories;
    std::vector<PeSection> sections; // in the order of the table
    std::size_t sectionTableEnd = 0;
};

// None when the headers are cut short, the alignments are not powers of two the loader takes,
// or a section's raw data does not lie inside the file.
[[nodiscard]] std::optional<PeLayout> readPeLayout(std::span<const std::uint8_t> image);

// The file offset of the optional header's CheckSum field, which every layout that reads holds.
[[nodiscard]] constexpr std::size_t checksumField(const PeLayout& layout) {
    return layout.optionalHeader + 64;
}

// Where the headers and the sections' raw data end: what follows (a certificate table, data
// appended to the program) is no part of the image the loader maps.
[[nodiscard]] std::uint64_t endOfProgramData(const PeLayout& layout);

// The data directory, or an empty one when the header has fewer.
[[nodiscard]] PeDirectory directoryOf(const PeLayout& layout, std::size_t index);

// The file bytes of `size` bytes at an RVA inside one section's raw data; none when they are
// not all there (a part beyond the raw data would be zeros in memory, which no resource is).
[[nodiscard]] std::optional<std::span<const std::uint8_t>>
bytesAtAddress(std::span<const std::uint8_t> image, const PeLayout& layout, std::uint32_t rva,
               std::uint32_t size);

// The bytes of the section from an RVA to the end of its raw data.
[[nodiscard]] std::optional<std::span<const std::uint8_t>>
sectionBytesFrom(std::span<const std::uint8_t> image, const PeLayout& layout, std::uint32_t rva);

[[nodiscard]] constexpr std::uint64_t alignUp(std::uint64_t value, std::uint32_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}
