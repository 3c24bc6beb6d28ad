// The first instance's side of single-instance operation: the thread that receives the
// requests of later launches, and one worker per request that calls secondaryMain.
#pragma once

#include <windows.h>

// Thread entry; the parameter is the Launcher. Ends with 0 on WM_QUIT.
DWORD WINAPI requestLoop(void* launcher);
