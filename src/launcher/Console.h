// The launcher's own console, when it is stamped as a console program.
#pragma once

#include <string>

// Read from the launcher's own image: one build serves as both kinds of program.
[[nodiscard]] bool runsInConsole();

// Writes the message as a line on standard error; false only when the process has no standard
// error at all (the caller then shows it another way).
[[nodiscard]] bool writeStandardErrorLine(const std::wstring& text);
