// bin\java.dll of a test runtime home: its presence is what marks a folder as a runtime home.
#include <windows.h>

extern "C" __declspec(dllexport) int testjvmJavaLibrary() {
    return 1;
}
