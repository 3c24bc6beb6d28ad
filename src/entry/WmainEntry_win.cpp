// The entry of a console program whose C runtime starts only narrow programs (zig's MinGW-w64
// for ARM64 links no wide start-up and takes no -municode): it splits the wide command line as
// the wide start-up would and calls the program's wmain.
#include <windows.h>

#include <shellapi.h>

int wmain(int argc, wchar_t** argv);

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    // Without its arguments the program cannot do what it was asked: it fails as a program
    // whose start-up could not allocate would.
    if (argv == nullptr)
        return 255;
    return wmain(argc, argv);
}
