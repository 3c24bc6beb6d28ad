#include "PeImage.h"

#include "ByteReading.h"
#include "jvm/PeHeaders.h"

#include <algorithm>

namespace {

constexpr std::size_t kFileHeaderOffset = 4; // after "PE\0\0"
constexpr std::size_t kOptionalHeaderOffset = 24;
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::uint16_t kExecutableImage = 0x0002;
constexpr std::uint16_t kDll = 0x2000;
constexpr std::size_t kChecksumInOptionalHeader = 64;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kResourceDirectoryIndex = 2;
constexpr std::size_t kSecurityDirectoryIndex = 4;
constexpr std::size_t kSizeOfHeadersInOptionalHeader = 60;
constexpr std::size_t kResourceDirectorySize = 16;
constexpr std::size_t kResourceEntrySize = 8;
constexpr std::uint32_t kSubdirectoryFlag = 0x80000000;
constexpr int kResourceTreeDepth = 3; // type, name, language

struct Headers {
    std::size_t nt = 0;
    std::size_t optional = 0;
    std::uint16_t magic = 0;
    std::size_t optionalSize = 0;
};

// The NT headers and an optional header of a known kind, all inside the bytes.
std::optional<Headers> headersOf(std::span<const std::uint8_t> image) {
    const auto nt = ntHeadersOffset(image);
    if (!nt)
        return std::nullopt;
    Headers headers;
    headers.nt = *nt;
    headers.optional = *nt + kOptionalHeaderOffset;
    headers.optionalSize = readLe16(image, *nt + kFileHeaderOffset + 16);
    if (image.size() - headers.optional < headers.optionalSize || headers.optionalSize < 2)
        return std::nullopt;
    headers.magic = readLe16(image, headers.optional);
    if (headers.magic != kPe32Magic && headers.magic != kPe32PlusMagic)
        return std::nullopt;
    return headers;
}

// The file offset of a data directory's entry; none when the header does not hold it.
std::optional<std::size_t> directoryEntry(std::span<const std::uint8_t> image,
                                          const Headers& headers, std::size_t index) {
    const std::size_t directories = headers.optional + (headers.magic == kPe32Magic ? 96 : 112);
    const std::size_t entry = directories + index * 8;
    if (headers.optional + headers.optionalSize < entry + 8 ||
        readLe32(image, directories - 4) <= index)
        return std::nullopt;
    return entry;
}

// Where the headers and the sections' raw data end; none when the section table is cut.
std::optional<std::size_t> endOfProgramData(std::span<const std::uint8_t> image,
                                            const Headers& headers) {
    const std::size_t count = readLe16(image, headers.nt + kFileHeaderOffset + 2);
    const std::size_t table = headers.optional + headers.optionalSize;
    if (table > image.size() || (image.size() - table) / kSectionHeaderSize < count)
        return std::nullopt;
    std::size_t end = table + count * kSectionHeaderSize;
    if (headers.optionalSize >= kSizeOfHeadersInOptionalHeader + 4)
        end = std::max<std::size_t>(
            end, readLe32(image, headers.optional + kSizeOfHeadersInOptionalHeader));
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t section = table + i * kSectionHeaderSize;
        end = std::max(end, std::size_t{readLe32(image, section + 20)} +
                                readLe32(image, section + 16));
    }
    return end;
}

// The file offset of an RVA that lies in some section's raw data, and the raw bytes left in
// that section from there.
struct FileRange {
    std::size_t offset = 0;
    std::size_t size = 0;
};

std::optional<FileRange> fileRangeOf(std::span<const std::uint8_t> image, const Headers& headers,
                                     std::uint32_t rva) {
    const std::size_t count = readLe16(image, headers.nt + kFileHeaderOffset + 2);
    const std::size_t table = headers.optional + headers.optionalSize;
    if (table > image.size() || (image.size() - table) / kSectionHeaderSize < count)
        return std::nullopt;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t section = table + i * kSectionHeaderSize;
        const std::uint32_t address = readLe32(image, section + 12);
        const std::uint32_t rawSize = readLe32(image, section + 16);
        const std::uint32_t rawOffset = readLe32(image, section + 20);
        if (rva < address || rva - address >= rawSize)
            continue;
        if (rawOffset > image.size())
            return std::nullopt;
        const std::size_t offset = std::size_t{rawOffset} + (rva - address);
        const std::size_t end = std::size_t{rawOffset} + rawSize;
        if (end > image.size())
            return std::nullopt;
        return FileRange{offset, end - offset};
    }
    return std::nullopt;
}

// `directory` is relative to the start of the resource tree, `tree`.
bool clearDirectoryTimestamps(std::span<std::uint8_t> tree, std::size_t directory, int depth) {
    if (depth == 0 || directory > tree.size() || tree.size() - directory < kResourceDirectorySize)
        return false;
    writeLe32(tree, directory + 4, 0);
    const std::size_t entries =
        std::size_t{readLe16(tree, directory + 12)} + readLe16(tree, directory + 14);
    const std::size_t first = directory + kResourceDirectorySize;
    if ((tree.size() - first) / kResourceEntrySize < entries)
        return false;
    for (std::size_t i = 0; i < entries; ++i) {
        const std::uint32_t target = readLe32(tree, first + i * kResourceEntrySize + 4);
        // Depth bounds the walk, so a tree whose entries point back up cannot loop.
        if ((target & kSubdirectoryFlag) &&
            !clearDirectoryTimestamps(tree, target & ~kSubdirectoryFlag, depth - 1))
            return false;
    }
    return true;
}

} // namespace

ExecutableCheck checkExecutable(std::span<const std::uint8_t> image) {
    ExecutableCheck check;
    const std::optional<Headers> headers = headersOf(image);
    if (!headers) {
        check.problem = ExecutableProblem::notPe;
        return check;
    }
    const std::uint16_t machine = readLe16(image, headers->nt + kFileHeaderOffset);
    const std::uint16_t characteristics = readLe16(image, headers->nt + kFileHeaderOffset + 18);
    if (!(characteristics & kExecutableImage) || (characteristics & kDll))
        check.problem = ExecutableProblem::notApplication;
    else if (!(machine == kMachineI386 && headers->magic == kPe32Magic) &&
             !(machine == kMachineAmd64 && headers->magic == kPe32PlusMagic))
        check.problem = ExecutableProblem::wrongMachine;
    check.is64Bit = headers->magic == kPe32PlusMagic;
    return check;
}

std::optional<std::size_t> checksumOffset(std::span<const std::uint8_t> image) {
    const std::optional<Headers> headers = headersOf(image);
    if (!headers || headers->optionalSize < kChecksumInOptionalHeader + 4)
        return std::nullopt;
    return headers->optional + kChecksumInOptionalHeader;
}

std::uint32_t peChecksum(std::span<const std::uint8_t> image, std::size_t checksumFieldOffset) {
    // The field's own bytes count as zero; an odd last byte is a word whose high byte is zero.
    const auto byteAt = [&](std::size_t i) -> std::uint32_t {
        if (i >= image.size() || (i >= checksumFieldOffset && i - checksumFieldOffset < 4))
            return 0;
        return image[i];
    };
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < image.size(); i += 2) {
        sum += byteAt(i) | byteAt(i + 1) << 8;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint32_t>(sum + image.size());
}

bool clearResourceTimestamps(std::span<std::uint8_t> image) {
    const std::optional<Headers> headers = headersOf(image);
    if (!headers)
        return false;
    const std::optional<std::size_t> entry =
        directoryEntry(image, *headers, kResourceDirectoryIndex);
    if (!entry)
        return false;
    const std::uint32_t rva = readLe32(image, *entry);
    if (rva == 0)
        return false;
    const std::optional<FileRange> range = fileRangeOf(image, *headers, rva);
    if (!range)
        return false;
    return clearDirectoryTimestamps(image.subspan(range->offset, range->size), 0,
                                    kResourceTreeDepth);
}

std::optional<CertificateTable> certificateTable(std::span<const std::uint8_t> image) {
    const std::optional<Headers> headers = headersOf(image);
    if (!headers)
        return std::nullopt;
    const std::optional<std::size_t> entry =
        directoryEntry(image, *headers, kSecurityDirectoryIndex);
    if (!entry)
        return std::nullopt;
    const CertificateTable table{readLe32(image, *entry), readLe32(image, *entry + 4)};
    if (table.offset == 0 && table.size == 0)
        return std::nullopt;
    return table;
}

bool removeCertificateTable(std::vector<std::uint8_t>& image) {
    const std::optional<CertificateTable> table = certificateTable(image);
    if (!table)
        return false;
    const std::optional<Headers> headers = headersOf(image);
    const std::optional<std::size_t> programEnd = endOfProgramData(image, *headers);
    // Both fields are 32-bit: their sum cannot overflow 64 bits.
    const std::uint64_t end = std::uint64_t{table->offset} + table->size;
    if (!programEnd || table->size == 0 || table->offset < *programEnd || end > image.size())
        return false;
    const std::size_t entry = *directoryEntry(image, *headers, kSecurityDirectoryIndex);
    image.erase(image.begin() + static_cast<std::ptrdiff_t>(table->offset),
                image.begin() + static_cast<std::ptrdiff_t>(end));
    writeLe32(image, entry, 0);
    writeLe32(image, entry + 4, 0);
    return true;
}
