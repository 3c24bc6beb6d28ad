// The number reader behind percentage sizes ("-Xmx25:512:1024P") and stack sizes ("-Xss512k").
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

struct SizeNumbers {
    std::vector<std::uint64_t> numbers; // empty when the text holds no digit and no ":"
    std::size_t start = 0;              // position of the first digit or ":", else the length
    bool overflowed = false;            // a number exceeded 64 bits and was held at the maximum
};

// Whether the last character is a unit letter that the reader must leave alone, or part of the
// number (a stack size in bytes, written without a unit).
enum class LastCharacter { Unit, Number };

[[nodiscard]] SizeNumbers readSizeNumbers(std::wstring_view text,
                                          LastCharacter last = LastCharacter::Unit);

// a * b, or the largest value when the product does not fit.
[[nodiscard]] std::uint64_t saturatingMultiply(std::uint64_t a, std::uint64_t b);
