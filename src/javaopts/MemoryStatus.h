// The two memory figures that percentage heap and stack sizes are computed from.
#pragma once

#include <cstdint>

// Filled by the Windows layer from GlobalMemoryStatus; kept as plain data so that the size
// arithmetic can be tested with any machine's figures.
struct MemoryStatus {
    std::uint64_t totalPhys = 0;    // dwTotalPhys: physical memory, bytes
    std::uint64_t availVirtual = 0; // dwAvailVirtual: free user-mode address space, bytes
};
