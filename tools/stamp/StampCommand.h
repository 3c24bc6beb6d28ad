// The whole tool behind each host's entry point: the arguments after the program name, as
// UTF-16 text, to the process exit code.
#pragma once

#include <string>
#include <vector>

[[nodiscard]] int runStampCommand(const std::vector<std::wstring>& arguments);
