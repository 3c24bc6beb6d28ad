// Reading one entry of a zip archive held in memory (a jar, or a jar appended to an
// executable), never outside the archive's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

enum class ZipRead {
    found,
    // No entry of that name.
    missing,
    // Not a zip archive, cut short, inconsistent, bad compressed data or a wrong checksum;
    // also the forms this reader does not take: split archives, encryption and methods other
    // than stored and deflate, and entries larger than the caller's limit. ZIP64 archives (more
    // than 65535 entries, or offsets past 4 GiB) are read.
    damaged,
};

// Finds the entry whose name matches `name` without regard to ASCII case (the first of
// several) and replaces `contents` with its uncompressed bytes.
[[nodiscard]] ZipRead readZipEntry(std::span<const std::uint8_t> archive, std::string_view name,
                                   std::size_t sizeLimit, std::vector<std::uint8_t>& contents);
