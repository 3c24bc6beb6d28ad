// The entry of a GUI program whose C runtime starts only narrow programs (zig's MinGW-w64 for
// ARM64 links no wide start-up and takes no -municode): it calls the program's wWinMain, which
// reads the command line itself.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int show) {
    return wWinMain(instance, previous, GetCommandLineW(), show);
}
