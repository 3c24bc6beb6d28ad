// The display scale (dots per inch) of the monitor a window is on.
#pragma once

#include <windows.h>

[[nodiscard]] int windowDpi(HWND window);
