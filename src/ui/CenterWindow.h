// Placing a dialog over its owner, or in the middle of its monitor's work area.
#pragma once

#include <windows.h>

// Centres a child window in its parent's client area, and a top-level window over its owner
// when that is visible and not minimised, else in the work area of the nearest monitor; the
// window stays inside that area. The result of the move; false also when the monitor cannot be
// asked.
bool centerWindow(HWND window);
