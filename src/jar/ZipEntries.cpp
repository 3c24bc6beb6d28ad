#include "jar/ZipEntries.h"

#include "jar/RawInflate.h"
#include "launcher/LittleEndian.h"

namespace {

constexpr std::uint32_t kEndSignature = 0x06054B50;
constexpr std::uint32_t kZip64EndSignature = 0x06064B50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064B50;
constexpr std::uint32_t kCentralSignature = 0x02014B50;
constexpr std::uint32_t kLocalSignature = 0x04034B50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kZip64EndSize = 56;
constexpr std::size_t kZip64LocatorSize = 20;
constexpr std::size_t kCentralSize = 46;
constexpr std::size_t kLocalSize = 30;
constexpr std::uint16_t kStored = 0;
constexpr std::uint16_t kDeflated = 8;
constexpr std::uint16_t kZip64ExtraTag = 1;
// A 32-bit figure whose real value is in a ZIP64 record (a 16-bit count is all ones too).
constexpr std::uint32_t kZip64Marker = 0xFFFFFFFF;
constexpr std::uint16_t kZip64CountMarker = 0xFFFF;

// Positions are std::size_t: they lie inside the bytes in memory. The figures that the archive
// states are read in 64 bits and checked against those bytes before they become positions.
struct CentralDirectory {
    std::size_t start = 0;
    std::size_t end = 0;
    std::uint64_t entries = 0;
    // What the archive's own offsets lack: the bytes in front of the archive, as for a jar
    // appended to an executable, whose offsets count from the jar's first byte.
    std::size_t bias = 0;
};

// The figures of an end record, and where the central directory ends: at the record.
struct EndFigures {
    std::size_t at = 0;
    std::uint64_t entries = 0;
    std::uint64_t size = 0;
    std::uint64_t offset = 0;
};

bool agrees(std::uint64_t wide, std::uint64_t narrow, std::uint64_t marker) {
    return narrow == marker || narrow == wide;
}

// An archive of more than 65535 entries or past 4 GiB has a ZIP64 end record, then its
// locator, right in front of the end record. Its figures replace the end record's when each of
// those is the same or the all-ones marker; otherwise they are not taken, as the JDK does not
// take them. The locator's offset of the record is not followed: it counts from the zip's first
// byte, which for a jar behind an executable is not the file's.
bool readZip64End(std::span<const std::uint8_t> archive, EndFigures& figures) {
    if (figures.at < kZip64LocatorSize + kZip64EndSize)
        return false;
    const std::size_t locator = figures.at - kZip64LocatorSize;
    const std::size_t record = locator - kZip64EndSize;
    if (readLittleEndian32(archive, locator) != kZip64LocatorSignature ||
        readLittleEndian32(archive, record) != kZip64EndSignature)
        return false;
    const EndFigures wide{record, readLittleEndian64(archive, record + 32),
                          readLittleEndian64(archive, record + 40),
                          readLittleEndian64(archive, record + 48)};
    if (!agrees(wide.entries, figures.entries, kZip64CountMarker) ||
        !agrees(wide.size, figures.size, kZip64Marker) || !agrees(wide.offset, figures.offset, kZip64Marker))
        return false;
    figures = wide;
    return true;
}

// The end record is the last thing in the archive, followed only by a comment of at most
// 65535 bytes; the first candidate from the back whose comment fits is taken.
bool findCentralDirectory(std::span<const std::uint8_t> archive, CentralDirectory& directory) {
    if (archive.size() < kEndSize)
        return false;
    const std::size_t last = archive.size() - kEndSize;
    const std::size_t first = last > 0xFFFF ? last - 0xFFFF : 0;
    for (std::size_t at = last + 1; at-- > first;) {
        if (readLittleEndian32(archive, at) != kEndSignature ||
            at + kEndSize + readLittleEndian16(archive, at + 20) > archive.size())
            continue;
        // Split archives; the disk numbers of one that is not split are no markers.
        const std::uint16_t entriesOnDisk = readLittleEndian16(archive, at + 8);
        EndFigures figures{at, readLittleEndian16(archive, at + 10),
                           readLittleEndian32(archive, at + 12), readLittleEndian32(archive, at + 16)};
        if (readLittleEndian32(archive, at + 4) != 0 || entriesOnDisk != figures.entries)
            return false;
        // Without a ZIP64 record a marker is no figure at all.
        if (!readZip64End(archive, figures) &&
            (figures.entries == kZip64CountMarker || figures.size == kZip64Marker ||
             figures.offset == kZip64Marker))
            return false;
        // The central directory ends where the end record starts; where it really begins
        // says how far the whole archive has been moved.
        const std::size_t end = figures.at;
        if (figures.size > end || figures.offset > end - figures.size)
            return false;
        const std::size_t start = end - static_cast<std::size_t>(figures.size);
        directory = {start, end, figures.entries, start - static_cast<std::size_t>(figures.offset)};
        return true;
    }
    return false;
}

bool namesMatch(std::span<const std::uint8_t> stored, std::string_view wanted) {
    if (stored.size() != wanted.size())
        return false;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const auto fold = [](unsigned c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
        if (fold(stored[i]) != fold(static_cast<unsigned char>(wanted[i])))
            return false;
    }
    return true;
}

std::uint32_t crc32(std::span<const std::uint8_t> bytes) {
    // Bit by bit rather than with a table: the launcher reads one small entry per launch.
    std::uint32_t crc = 0xFFFFFFFF;
    for (const std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = crc >> 1 ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

// The ZIP64 extra field of a central header holds the 64-bit form of each of the uncompressed
// size, the compressed size and the local header's offset whose own field is the marker, in
// that order. False when the field lacks one that is needed; without the field a marker stays
// the figure it says it is, as for the JDK, which the size limit and the bounds then refuse.
bool readZip64Extra(std::span<const std::uint8_t> extra, std::uint64_t& size,
                    std::uint64_t& compressedSize, std::uint64_t& local) {
    std::uint64_t* const figures[] = {&size, &compressedSize, &local};
    for (std::size_t at = 0; extra.size() - at >= 4;) {
        const std::size_t length = readLittleEndian16(extra, at + 2);
        if (extra.size() - at - 4 < length)
            break;
        if (readLittleEndian16(extra, at) == kZip64ExtraTag) {
            std::size_t field = at + 4;
            for (std::uint64_t* figure : figures) {
                if (*figure != kZip64Marker)
                    continue;
                if (at + 4 + length - field < 8)
                    return false;
                *figure = readLittleEndian64(extra, field);
                field += 8;
            }
            return true;
        }
        at += 4 + length;
    }
    return true;
}

// The entry whose central header starts at `header`.
ZipRead readEntryData(std::span<const std::uint8_t> archive, std::size_t header,
                      std::size_t bias, std::size_t sizeLimit,
                      std::vector<std::uint8_t>& contents) {
    const std::uint16_t flags = readLittleEndian16(archive, header + 8);
    const std::uint16_t method = readLittleEndian16(archive, header + 10);
    const std::uint32_t checksum = readLittleEndian32(archive, header + 16);
    std::uint64_t compressedSize = readLittleEndian32(archive, header + 20);
    std::uint64_t size = readLittleEndian32(archive, header + 24);
    std::uint64_t offset = readLittleEndian32(archive, header + 42);
    const std::size_t extra = header + kCentralSize + readLittleEndian16(archive, header + 28);
    if (!readZip64Extra(archive.subspan(extra, readLittleEndian16(archive, header + 30)), size,
                        compressedSize, offset) ||
        offset > archive.size() - bias)
        return ZipRead::damaged;
    const std::size_t local = bias + static_cast<std::size_t>(offset);
    // Bit 0: encrypted. The sizes come from the central header, since with a data descriptor
    // (bit 3) the local header holds zeros, and its own ZIP64 extra field is only skipped.
    if ((flags & 1) || size > sizeLimit || archive.size() - local < kLocalSize ||
        readLittleEndian32(archive, local) != kLocalSignature)
        return ZipRead::damaged;
    const std::size_t data =
        local + kLocalSize + readLittleEndian16(archive, local + 26) + readLittleEndian16(archive, local + 28);
    if (data > archive.size() || archive.size() - data < compressedSize)
        return ZipRead::damaged;
    const std::span<const std::uint8_t> stored =
        archive.subspan(data, static_cast<std::size_t>(compressedSize));

    contents.clear();
    if (method == kStored && compressedSize == size)
        contents.assign(stored.begin(), stored.end());
    else if (method != kDeflated || !inflateRaw(stored, static_cast<std::size_t>(size), contents) ||
             contents.size() != size)
        return ZipRead::damaged;
    return crc32(contents) == checksum ? ZipRead::found : ZipRead::damaged;
}

} // namespace

ZipRead readZipEntry(std::span<const std::uint8_t> archive, std::string_view name,
                     std::size_t sizeLimit, std::vector<std::uint8_t>& contents) {
    CentralDirectory directory;
    if (!findCentralDirectory(archive, directory))
        return ZipRead::damaged;
    std::size_t header = directory.start;
    for (std::uint64_t entry = 0; entry < directory.entries; ++entry) {
        if (directory.end - header < kCentralSize || readLittleEndian32(archive, header) != kCentralSignature)
            return ZipRead::damaged;
        const std::uint16_t nameLength = readLittleEndian16(archive, header + 28);
        const std::size_t next = header + kCentralSize + nameLength +
                                   readLittleEndian16(archive, header + 30) + readLittleEndian16(archive, header + 32);
        if (next > directory.end)
            return ZipRead::damaged;
        if (namesMatch(archive.subspan(header + kCentralSize, nameLength), name))
            return readEntryData(archive, header, directory.bias, sizeLimit, contents);
        header = next;
    }
    return ZipRead::missing;
}
