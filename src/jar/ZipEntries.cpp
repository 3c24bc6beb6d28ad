#include "jar/ZipEntries.h"

#include "jar/RawInflate.h"
#include "launcher/LittleEndian.h"

namespace {

constexpr std::uint32_t kEndSignature = 0x06054B50;
constexpr std::uint32_t kCentralSignature = 0x02014B50;
constexpr std::uint32_t kLocalSignature = 0x04034B50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kCentralSize = 46;
constexpr std::size_t kLocalSize = 30;
constexpr std::uint16_t kStored = 0;
constexpr std::uint16_t kDeflated = 8;

struct CentralDirectory {
    std::uint64_t start = 0;
    std::uint64_t end = 0;
    std::uint32_t entries = 0;
    // What the archive's own offsets lack: the bytes in front of the archive, as for a jar
    // appended to an executable, whose offsets count from the jar's first byte.
    std::uint64_t bias = 0;
};

// The end record is the last thing in the archive, followed only by a comment of at most
// 65535 bytes; the first candidate from the back whose comment fits is taken.
bool findCentralDirectory(std::span<const std::uint8_t> archive, CentralDirectory& directory) {
    if (archive.size() < kEndSize)
        return false;
    const std::uint64_t last = archive.size() - kEndSize;
    const std::uint64_t first = last > 0xFFFF ? last - 0xFFFF : 0;
    for (std::uint64_t at = last + 1; at-- > first;) {
        if (readLittleEndian32(archive, at) != kEndSignature ||
            at + kEndSize + readLittleEndian16(archive, at + 20) > archive.size())
            continue;
        const std::uint16_t disk = readLittleEndian16(archive, at + 4);
        const std::uint16_t directoryDisk = readLittleEndian16(archive, at + 6);
        const std::uint16_t entriesOnDisk = readLittleEndian16(archive, at + 8);
        const std::uint16_t entries = readLittleEndian16(archive, at + 10);
        const std::uint32_t size = readLittleEndian32(archive, at + 12);
        const std::uint32_t offset = readLittleEndian32(archive, at + 16);
        // Split archives, and ZIP64 ones, whose real figures are elsewhere (all ones here).
        if (disk != 0 || directoryDisk != 0 || entriesOnDisk != entries || entries == 0xFFFF ||
            size == 0xFFFFFFFF || offset == 0xFFFFFFFF)
            return false;
        // The central directory ends where the end record starts; where it really begins
        // says how far the whole archive has been moved.
        if (size > at || offset > at - size)
            return false;
        directory = {at - size, at, entries, at - size - offset};
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

// The entry whose central header starts at `header`.
ZipRead readEntryData(std::span<const std::uint8_t> archive, std::uint64_t header,
                      std::uint64_t bias, std::size_t sizeLimit,
                      std::vector<std::uint8_t>& contents) {
    const std::uint16_t flags = readLittleEndian16(archive, header + 8);
    const std::uint16_t method = readLittleEndian16(archive, header + 10);
    const std::uint32_t checksum = readLittleEndian32(archive, header + 16);
    const std::uint32_t compressedSize = readLittleEndian32(archive, header + 20);
    const std::uint32_t size = readLittleEndian32(archive, header + 24);
    const std::uint64_t local = bias + readLittleEndian32(archive, header + 42);
    // Bit 0: encrypted. The sizes come from the central header, since with a data descriptor
    // (bit 3) the local header holds zeros.
    if ((flags & 1) || size > sizeLimit || local > archive.size() ||
        archive.size() - local < kLocalSize || readLittleEndian32(archive, local) != kLocalSignature)
        return ZipRead::damaged;
    const std::uint64_t data =
        local + kLocalSize + readLittleEndian16(archive, local + 26) + readLittleEndian16(archive, local + 28);
    if (data > archive.size() || archive.size() - data < compressedSize)
        return ZipRead::damaged;
    const std::span<const std::uint8_t> stored = archive.subspan(data, compressedSize);

    contents.clear();
    if (method == kStored && compressedSize == size)
        contents.assign(stored.begin(), stored.end());
    else if (method != kDeflated || !inflateRaw(stored, size, contents) || contents.size() != size)
        return ZipRead::damaged;
    return crc32(contents) == checksum ? ZipRead::found : ZipRead::damaged;
}

} // namespace

ZipRead readZipEntry(std::span<const std::uint8_t> archive, std::string_view name,
                     std::size_t sizeLimit, std::vector<std::uint8_t>& contents) {
    CentralDirectory directory;
    if (!findCentralDirectory(archive, directory))
        return ZipRead::damaged;
    std::uint64_t header = directory.start;
    for (std::uint32_t entry = 0; entry < directory.entries; ++entry) {
        if (directory.end - header < kCentralSize || readLittleEndian32(archive, header) != kCentralSignature)
            return ZipRead::damaged;
        const std::uint16_t nameLength = readLittleEndian16(archive, header + 28);
        const std::uint64_t next = header + kCentralSize + nameLength +
                                   readLittleEndian16(archive, header + 30) + readLittleEndian16(archive, header + 32);
        if (next > directory.end)
            return ZipRead::damaged;
        if (namesMatch(archive.subspan(header + kCentralSize, nameLength), name))
            return readEntryData(archive, header, directory.bias, sizeLimit, contents);
        header = next;
    }
    return ZipRead::missing;
}
