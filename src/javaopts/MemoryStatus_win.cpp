#include "javaopts/MemoryStatusReader.h"

#include <windows.h>

MemoryStatus readMemoryStatus() {
    // GlobalMemoryStatus rather than the Ex form: in a 64-bit process its SIZE_T fields hold
    // the full figures, and it cannot fail.
    MEMORYSTATUS status{};
    status.dwLength = sizeof(status);
    GlobalMemoryStatus(&status);
    return MemoryStatus{.totalPhys = status.dwTotalPhys, .availVirtual = status.dwAvailVirtual};
}
