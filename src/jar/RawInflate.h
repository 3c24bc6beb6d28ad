// Raw deflate data (no zlib or gzip wrapper), as zip entries hold it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Appends the decompressed bytes of `compressed` to `output`. False for data that is not
// valid deflate, that stops before its last block, or that would make `output` longer than
// `limit` bytes; `output` then holds whatever was decoded before the fault.
[[nodiscard]] bool inflateRaw(std::span<const std::uint8_t> compressed, std::size_t limit,
                              std::vector<std::uint8_t>& output);
