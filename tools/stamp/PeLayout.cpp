#include "PeLayout.h"

#include "ByteReading.h"
#include "jvm/PeHeaders.h"

#include <algorithm>

namespace {

constexpr std::size_t kOptionalAfterFileHeader = 20;
constexpr std::size_t kSizeOfHeaders = 60; // in the optional header, both kinds
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kDirectorySize = 8;
// The loader takes a file alignment from 512 bytes to 64 KiB, or one equal to a section
// alignment below a page; anything else is no image it maps.
constexpr std::uint32_t kMaxFileAlignment = 0x10000;

bool isPowerOfTwo(std::uint32_t value) {
    return value != 0 && (value & (value - 1)) == 0;
}

} // namespace

std::optional<PeLayout> readPeLayout(std::span<const std::uint8_t> image) {
    const std::optional<std::size_t> nt = ntHeadersOffset(image);
    if (!nt)
        return std::nullopt;
    PeLayout layout;
    layout.fileHeader = *nt + 4;
    layout.machine = readLe16(image, layout.fileHeader);
    layout.characteristics = readLe16(image, layout.fileHeader + 18);
    layout.optionalHeader = layout.fileHeader + kOptionalAfterFileHeader;
    const std::size_t optionalSize = readLe16(image, layout.fileHeader + 16);
    const std::size_t sectionCount = readLe16(image, layout.fileHeader + 2);
    if (image.size() < layout.optionalHeader || image.size() - layout.optionalHeader < optionalSize ||
        optionalSize < 2)
        return std::nullopt;
    const std::uint16_t magic = readLe16(image, layout.optionalHeader);
    if (magic != kPe32Magic && magic != kPe32PlusMagic)
        return std::nullopt;
    layout.is64Bit = magic == kPe32PlusMagic;
    const std::size_t countField = layout.optionalHeader + (layout.is64Bit ? 108 : 92);
    if (optionalSize < countField + 4 - layout.optionalHeader)
        return std::nullopt;
    layout.sectionAlignment = readLe32(image, layout.optionalHeader + 32);
    layout.fileAlignment = readLe32(image, layout.optionalHeader + 36);
    layout.sizeOfHeaders = readLe32(image, layout.optionalHeader + kSizeOfHeaders);
    if (!isPowerOfTwo(layout.sectionAlignment) || !isPowerOfTwo(layout.fileAlignment) ||
        layout.fileAlignment > kMaxFileAlignment || layout.fileAlignment > layout.sectionAlignment)
        return std::nullopt;
    layout.directoryTable = countField + 4;
    const std::size_t room = (optionalSize - (layout.directoryTable - layout.optionalHeader)) /
                             kDirectorySize;
    const std::size_t count = std::min<std::size_t>(readLe32(image, countField), room);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = layout.directoryTable + i * kDirectorySize;
        layout.directories.push_back({readLe32(image, at), readLe32(image, at + 4)});
    }

    const std::size_t table = layout.optionalHeader + optionalSize;
    if ((image.size() - table) / kSectionHeaderSize < sectionCount)
        return std::nullopt;
    layout.sectionTableEnd = table + sectionCount * kSectionHeaderSize;
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const std::size_t at = table + i * kSectionHeaderSize;
        PeSection section;
        for (std::size_t k = 0; k < 8 && image[at + k] != 0; ++k)
            section.name.push_back(static_cast<char>(image[at + k]));
        section.virtualSize = readLe32(image, at + 8);
        section.virtualAddress = readLe32(image, at + 12);
        section.rawSize = readLe32(image, at + 16);
        section.rawOffset = readLe32(image, at + 20);
        section.header = at;
        if (section.rawSize != 0 &&
            (section.rawOffset > image.size() || section.rawSize > image.size() - section.rawOffset))
            return std::nullopt;
        layout.sections.push_back(std::move(section));
    }
    return layout;
}

std::uint64_t endOfProgramData(const PeLayout& layout) {
    std::uint64_t end = std::max<std::uint64_t>(layout.sizeOfHeaders, layout.sectionTableEnd);
    for (const PeSection& section : layout.sections)
        if (section.rawSize)
            end = std::max<std::uint64_t>(end, std::uint64_t{section.rawOffset} + section.rawSize);
    return end;
}

PeDirectory directoryOf(const PeLayout& layout, std::size_t index) {
    return index < layout.directories.size() ? layout.directories[index] : PeDirectory{};
}

std::optional<std::span<const std::uint8_t>>
sectionBytesFrom(std::span<const std::uint8_t> image, const PeLayout& layout, std::uint32_t rva) {
    for (const PeSection& section : layout.sections) {
        if (rva < section.virtualAddress || rva - section.virtualAddress >= section.rawSize)
            continue;
        const std::size_t offset = std::size_t{section.rawOffset} + (rva - section.virtualAddress);
        return image.subspan(offset, std::size_t{section.rawOffset} + section.rawSize - offset);
    }
    return std::nullopt;
}

std::optional<std::span<const std::uint8_t>>
bytesAtAddress(std::span<const std::uint8_t> image, const PeLayout& layout, std::uint32_t rva,
               std::uint32_t size) {
    const auto rest = sectionBytesFrom(image, layout, rva);
    if (!rest || rest->size() < size)
        return std::nullopt;
    return rest->first(size);
}
