// The browser's anchor colours as the user's settings store them: "red,green,blue" in decimal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// The colour (0x00bbggrr) of a text such as "0,0,255"; none when it is not one. Each part is
// read as a decimal number in the manner of wcstol (leading blanks and a sign accepted, reading
// stops at the first non-digit, clamped to the 32-bit range), so "12px,0,0" still reads 12.
// There must be two commas and something after the second; -1 as the first or second part
// marks the text invalid. Each part is cut to its low 8 bits.
std::optional<uint32_t> parseColorText(std::wstring_view text);

// The text of a registry colour value read into a buffer of `capacity` bytes, when it is one
// that may be used: the read succeeded (a longer value did not fit), the type is REG_SZ (1) or
// REG_EXPAND_SZ (2), and the data is empty or ends in a NUL character. `bytes` is the size the
// registry reported, in bytes of two-byte UTF-16 code units; the text ends at its first NUL.
std::optional<std::wstring_view> colorValueText(uint32_t type, const wchar_t* data, size_t bytes);
