// demo.exe FOLDER [ARGUMENTS...]: sets up a small Java application in FOLDER as an installer
// would (app.exe, app.ini, lib\demo.jar, a private runtime in jre64\ -- the project's test
// runtime, since no Java runtime for Windows is available here), starts it with the arguments,
// and reports what a user and the application saw.
#include "LaunchHarness.h"
#include "TestRuntime.h"

#include <cstdio>

namespace {

void print(const char* label, const std::wstring& text) {
    std::printf("%s%s\n", label, narrow(text).c_str());
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: demo FOLDER [ARGUMENTS...]\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    createFolders(folder + L"\\lib");
    const std::wstring exePath = folder + L"\\app.exe";
    if (!CopyFileW(builtLauncherPath().c_str(), exePath.c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy the launcher into the demo folder\n");
        return 1;
    }
    writeUtf16File(folder + L"\\app.ini",
                   L"[Product Information]\r\nProduct Name=Demo\r\nProduct Code={DEMO-0001}\r\n"
                   L"[Java Runtime Environment]\r\nMain Class=demo.Hello\r\nMinimum Version=1.8\r\n"
                   L"Virtual Machine Parameters=-Xmx50P -Dgreeting=\"hello there\"\r\n"
                   L"[Class Path]\r\nClass Path=\\lib\\*.jar\r\n"
                   L"[Application]\r\nCmd=--from-settings\r\n");
    writeBytesFile(folder + L"\\lib\\demo.jar", "demo");

    const std::wstring home = testjvm::layOutRuntime(folder + L"\\jre64");
    testjvm::Script script;
    script.classes.push_back(testjvm::JavaClass(L"demo/Hello", {testjvm::kMainMethod}, {}, L"demo.jar"));
    script.mainActions = {testjvm::Action::printOut(L"Hello from demo.Hello"),
                          testjvm::Action::printArgs(L"out")};
    if (home.empty() || !testjvm::writeScript(home, script)) {
        std::fprintf(stderr, "cannot lay out the test runtime\n");
        return 1;
    }

    LaunchOptions options;
    for (int i = 2; i < argc; ++i)
        options.arguments += (i > 2 ? L" " : L"") + quotedArgument(argv[i]);
    print("starting: ", exePath + L" " + options.arguments);
    const LaunchResult result = runProgram(exePath, options);

    for (const auto& box : result.messageBoxes)
        print("message box: ", box.text);
    if (const auto record = testjvm::readRecord(home)) {
        for (const auto& option : record->options)
            print("VM option: ", option.text);
        for (const auto* call : record->callsOf(L"main")) {
            print("called: ", call->method);
            for (const auto& argument : call->arguments)
                print("  argument: ", argument);
        }
        if (!record->standardOutput.empty())
            print("the application printed:\n", record->standardOutput);
    } else {
        std::printf("the Java runtime was not started\n");
    }
    if (result.timedOut)
        std::printf("timed out and stopped\n");
    std::printf("exit code: %lu\n", static_cast<unsigned long>(result.exitCode));
    return 0;
}
