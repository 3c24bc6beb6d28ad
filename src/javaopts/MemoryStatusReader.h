// Reading the machine's memory figures for percentage heap and stack sizes.
#pragma once

#include "javaopts/MemoryStatus.h"

// The figures GlobalMemoryStatus reports for this process, in bytes.
[[nodiscard]] MemoryStatus readMemoryStatus();
