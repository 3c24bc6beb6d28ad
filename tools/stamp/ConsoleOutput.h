// Text to standard output and standard error: wide to a console, UTF-8 to a file or a pipe.
#pragma once

#include <string>

void printOut(const std::wstring& text);
// Prefixed with the tool's name, as command-line tools name themselves in their messages, and
// ended with a line break.
void printError(const std::wstring& text);
