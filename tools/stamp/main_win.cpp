// qova-stamp: writes an application's icon, version information, embedded settings and
// requested execution level into a copy of the launcher (qova-stamp --help).
#include "StampCommand.h"

int wmain(int argc, wchar_t** argv) {
    return runStampCommand(std::vector<std::wstring>(argv + 1, argv + argc));
}
