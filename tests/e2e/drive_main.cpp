// drive.exe PROGRAM [ARGUMENTS...]: starts a program as a user would, prints the text of each
// message box it shows (answering OK), then its exit code as a full 32-bit value.
#include "LaunchHarness.h"

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: drive PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    LaunchOptions options;
    for (int i = 2; i < argc; ++i)
        options.arguments += (i > 2 ? L" " : L"") + quotedArgument(argv[i]);
    const LaunchResult result = runProgram(argv[1], options);
    for (const auto& box : result.messageBoxes)
        std::printf("message box: %s\n", narrow(box.text).c_str());
    if (result.timedOut)
        std::printf("timed out and stopped\n");
    std::printf("exit code: %lu\n", static_cast<unsigned long>(result.exitCode));
    return 0;
}
