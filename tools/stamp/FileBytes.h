// Whole files read and written as bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// False with the Windows error code when the file cannot be read.
[[nodiscard]] bool readFileBytes(const std::wstring& path, std::vector<std::uint8_t>& bytes,
                                 std::uint32_t& error);
// Replaces the file's content; false with the Windows error code.
[[nodiscard]] bool writeFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes,
                                  std::uint32_t& error);
