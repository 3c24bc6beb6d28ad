// Whole files read and written as bytes, and the staging file's last step, through the host
// system's own file functions. Paths are UTF-16 text (one wchar_t per code unit) on every host.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// False with the system's error code when the file cannot be read.
[[nodiscard]] bool readFileBytes(const std::wstring& path, std::vector<std::uint8_t>& bytes,
                                 std::uint32_t& error);
// Creates or replaces the file with the bytes; false with the system's error code.
[[nodiscard]] bool writeFileBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes,
                                  std::uint32_t& error);
// Puts `from` in the place of `to` in one step, so that `to` is either the old file or the new
// one whatever happens meanwhile; `to` keeps its permissions where the system has them.
[[nodiscard]] bool replaceFile(const std::wstring& from, const std::wstring& to,
                               std::uint32_t& error);
void removeFile(const std::wstring& path);
// "Windows error 5", or the system's words for an errno value: for the tool's messages.
[[nodiscard]] std::wstring systemErrorText(std::uint32_t error);
