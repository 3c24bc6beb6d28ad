// Whole numbers as decimal text.
#pragma once

#include <cstdint>
#include <string>

// The launcher formats numbers itself: the C library's formatted printing would bring its
// whole floating-point formatter into the executable for the sake of a few integers.
std::wstring decimalText(uint64_t value);
std::wstring decimalText(int64_t value);
