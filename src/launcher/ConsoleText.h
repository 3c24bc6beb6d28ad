// What a launcher stamped as a console program decides about its console: whether it is one,
// and how a message reads as a line of standard error.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Whether the image's headers make it a console program (its subsystem field).
[[nodiscard]] bool isConsoleImage(std::span<const std::uint8_t> headers);

// A message as standard error shows it: every line ended by CR LF, as Java's println ends
// them on Windows, and exactly one line end after the text however many it brought.
[[nodiscard]] std::wstring consoleMessageLine(std::wstring_view text);
