// The launcher's own argument splitting: blank-separated or double-quoted pieces, with no
// escape character.
#pragma once

#include <string>
#include <vector>

// Appends the pieces of text to out. Only the blank separates; a piece in double quotes may
// hold blanks and may be empty; a quote inside an unquoted piece is an ordinary character.
void splitArguments(const std::wstring& text, std::vector<std::wstring>& out);

// The arguments of a process command line: trimmed, split, and without the program name.
std::vector<std::wstring> argumentsFromCommandLine(const std::wstring& commandLine);

// Whether some argument equals text exactly (case-sensitive, whole argument).
bool hasArgument(const std::vector<std::wstring>& arguments, const std::wstring& text);
