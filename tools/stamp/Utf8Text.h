// UTF-8 to and from UTF-16 text held one code unit per wchar_t, whatever the width of wchar_t
// (16 bits on Windows, 32 elsewhere): the tool works in UTF-16 on every host, as the resources
// it writes do, and meets UTF-8 in the command line, the paths and the output of other hosts.
#pragma once

#include <string>
#include <string_view>

// A byte that is not part of valid UTF-8 becomes the lone surrogate 0xDC00 + byte, and goes
// back to the same byte: a file name that is not valid UTF-8 is still found again.
[[nodiscard]] std::wstring unitsFromUtf8(std::string_view text);
[[nodiscard]] std::string utf8FromUnits(std::wstring_view units);
