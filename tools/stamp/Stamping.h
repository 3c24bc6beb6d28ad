// The tool's two actions; each prints its own messages and returns the process exit code.
#pragma once

#include "StampOptions.h"

#include <string>

[[nodiscard]] int stampLauncher(const StampOptions& options);
[[nodiscard]] int showLauncher(const std::wstring& path);
