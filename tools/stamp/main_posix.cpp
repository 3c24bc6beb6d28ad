// qova-stamp on Linux and other POSIX hosts: the same tool as qova-stamp.exe, the arguments
// taken as UTF-8 (qova-stamp --help).
#include "StampCommand.h"
#include "Utf8Text.h"

int main(int argc, char** argv) {
    std::vector<std::wstring> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(unitsFromUtf8(argv[i]));
    return runStampCommand(arguments);
}
