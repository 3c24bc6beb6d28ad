// Little-endian reads and writes on byte buffers; callers check the bounds first.
#pragma once

#include "launcher/LittleEndian.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The reads are the launcher's own, under the shorter names this tool uses.
inline std::uint16_t readLe16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return readLittleEndian16(bytes, offset);
}

inline std::uint32_t readLe32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return readLittleEndian32(bytes, offset);
}

inline void appendLe16(std::vector<std::uint8_t>& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void appendLe32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    appendLe16(bytes, static_cast<std::uint16_t>(value & 0xFFFF));
    appendLe16(bytes, static_cast<std::uint16_t>(value >> 16));
}

inline void writeLe16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
    bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void writeLe32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    writeLe16(bytes, offset, static_cast<std::uint16_t>(value & 0xFFFF));
    writeLe16(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}
