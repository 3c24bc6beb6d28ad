// Heap and stack sizes: percentages of the machine's memory, and the stack size in bytes.
#pragma once

#include "javaopts/MemoryStatus.h"

#include <cstdint>
#include <string>

// True for an "-Xms", "-Xmx" or "-Xss" option whose last character is P, p (physical memory)
// or T, t (free address space): "<prefix><percent>[:<min MiB>[:<max MiB>]]<letter>".
[[nodiscard]] bool isPercentageSize(const std::wstring& option);

// The size in KiB that a percentage option asks for on a machine with these figures.
[[nodiscard]] std::uint64_t percentageSizeKib(const std::wstring& option,
                                              const MemoryStatus& memory);

// Rewrites a percentage option into "<prefix><size>K"; other options are left as they are.
void rewritePercentageSize(std::wstring& option, const MemoryStatus& memory);

// The stack size in bytes that the text after "-Xss" names ("512k", "2m", "1g", "1048576"),
// or 0 when it cannot be read, so that the thread falls back to the default stack.
[[nodiscard]] std::uint64_t parseStackSize(const std::wstring& text);
