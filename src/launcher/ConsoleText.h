// How a message of a launcher stamped as a console program reads as a line of standard error.
#pragma once

#include <string>
#include <string_view>

// A message as standard error shows it: every line ended by CR LF, as Java's println ends
// them on Windows, and exactly one line end after the text however many it brought.
[[nodiscard]] std::wstring consoleMessageLine(std::wstring_view text);
