// Little-endian fields of file formats read from bytes (PE headers, zip records); callers check
// that the field lies inside the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

inline std::uint16_t readLittleEndian16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

inline std::uint32_t readLittleEndian32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(readLittleEndian16(bytes, offset)) |
           static_cast<std::uint32_t>(readLittleEndian16(bytes, offset + 2)) << 16;
}

// Always inlined: the few ZIP64 fields would otherwise cost a function of their own.
[[gnu::always_inline]] inline std::uint64_t readLittleEndian64(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint64_t>(readLittleEndian32(bytes, offset)) |
           static_cast<std::uint64_t>(readLittleEndian32(bytes, offset + 4)) << 32;
}
