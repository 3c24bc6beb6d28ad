// demo.exe FOLDER [ARGUMENTS...]: sets up a small Java application as an installer would, with
// both launchers (app.exe, and the paired 32-bit launcher app32.exe, each with its settings
// file) and lib\demo.jar, and starts app.exe with the arguments twice: in FOLDER\java64 with
// a 64-bit Java runtime in jre64\, which app.exe runs itself, and in FOLDER\java32 on a machine
// whose only Java runtime is a 32-bit one (jre32\, registered in the 32-bit registry view),
// which app.exe hands over to app32.exe. The runtime is the project's test runtime, since no
// Java runtime for Windows is available here. Reports what a user and the application saw.
// Then, in FOLDER\console, a command-line tool: a launcher copy stamped as a console program,
// which prints in this terminal; demo.exe ends with that tool's exit code.
#include "LaunchHarness.h"
#include "ScopedRegistryKey.h"
#include "TestRuntime.h"

#include <cstdio>
#include <optional>

namespace {

void print(const char* label, const std::wstring& text) {
    std::printf("%s%s\n", label, narrow(text).c_str());
}

std::wstring settingsText(const std::wstring& applicationLines) {
    return L"[Product Information]\r\nProduct Name=Demo\r\nProduct Code={DEMO-0001}\r\n"
           L"[Java Runtime Environment]\r\nMain Class=demo.Hello\r\nMinimum Version=1.8\r\n"
           L"Virtual Machine Parameters=-Xmx50P -Dgreeting=\"hello there\"\r\n"
           L"[Class Path]\r\nClass Path=\\lib\\*.jar\r\n"
           L"[Application]\r\nCmd=--from-settings\r\n" +
           applicationLines;
}

// Both launchers and the application; the 64-bit launcher hands over to the 32-bit one and
// passes its exit code on.
bool installApplication(const std::wstring& folder) {
    createFolders(folder + L"\\lib");
    const std::wstring pairedExe = folder + L"\\app32.exe";
    if (!CopyFileW(builtLauncherPath().c_str(), (folder + L"\\app.exe").c_str(), FALSE) ||
        !CopyFileW((pairedBuildFolder() + L"\\launcher.exe").c_str(), pairedExe.c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy the launchers into the demo folder\n");
        return false;
    }
    writeUtf16File(folder + L"\\app.ini",
                   settingsText(L"Pair Product=" + pairedExe + L"\r\nPair Return Code=Yes\r\n"));
    writeUtf16File(folder + L"\\app32.ini", settingsText(L""));
    writeBytesFile(folder + L"\\lib\\demo.jar", "demo");
    return true;
}

std::wstring installRuntime(const std::wstring& home, const std::wstring& builtFolder) {
    testjvm::Script script;
    script.classes.push_back(
        testjvm::JavaClass(L"demo/Hello", {testjvm::kMainMethod}, {}, L"demo.jar"));
    script.mainActions = {testjvm::Action::printOut(L"Hello from demo.Hello"),
                          testjvm::Action::printArgs(L"out")};
    const std::wstring laidOut = testjvm::layOutRuntime(home, {.builtFolder = builtFolder});
    if (laidOut.empty() || !testjvm::writeScript(laidOut, script)) {
        std::fprintf(stderr, "cannot lay out the test runtime\n");
        return {};
    }
    return laidOut;
}

void launchAndReport(const std::wstring& folder, const std::wstring& runtimeHome,
                     const LaunchOptions& options) {
    const std::wstring exePath = folder + L"\\app.exe";
    print("starting: ", exePath + L" " + options.arguments);
    const LaunchResult result = runProgram(exePath, options);

    for (const auto& box : result.messageBoxes)
        print("message box: ", box.text);
    if (const auto record = testjvm::readRecord(runtimeHome)) {
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
}

// The command-line tool: convert.exe, stamped as a console program, shares this terminal, so
// what its Java application prints appears here as it is printed. Its exit code is returned.
int runConsoleTool(const std::wstring& folder, const std::wstring& arguments) {
    createFolders(folder + L"\\lib");
    const std::wstring exePath = folder + L"\\convert.exe";
    if (!CopyFileW(builtLauncherPath().c_str(), exePath.c_str(), FALSE) ||
        runProgram(testProgramFolder() + L"\\qova-stamp.exe",
                   {.arguments = L"--subsystem console " + quotedArgument(exePath)})
                .exitCode != 0) {
        std::fprintf(stderr, "cannot make the console launcher\n");
        return 1;
    }
    writeUtf16File(folder + L"\\convert.ini",
                   L"[Java Runtime Environment]\r\nMain Class=demo.Convert\r\n"
                   L"[Class Path]\r\nClass Path=\\lib\\*.jar\r\n");
    writeBytesFile(folder + L"\\lib\\convert.jar", "demo");
    testjvm::Script script;
    script.classes.push_back(
        testjvm::JavaClass(L"demo/Convert", {testjvm::kMainMethod}, {}, L"convert.jar"));
    script.mainActions = {testjvm::Action::printOut(L"convert: converting these files:"),
                          testjvm::Action::printArgs(L"out"),
                          testjvm::Action::printErr(L"convert: 1 file could not be read"),
                          testjvm::Action::exit(3)};
    const std::wstring home = testjvm::layOutRuntime(folder + L"\\jre64");
    if (home.empty() || !testjvm::writeScript(home, script)) {
        std::fprintf(stderr, "cannot lay out the test runtime\n");
        return 1;
    }
    print("starting: ", exePath + L" " + arguments);
    std::fflush(stdout);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = quotedArgument(exePath) + L" " + arguments;
    if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start the console launcher\n");
        return 1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("exit code: %lu\n", static_cast<unsigned long>(exitCode));
    return static_cast<int>(exitCode);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: demo FOLDER [ARGUMENTS...]\n");
        return 2;
    }
    LaunchOptions options;
    for (int i = 2; i < argc; ++i)
        options.arguments += (i > 2 ? L" " : L"") + quotedArgument(argv[i]);

    std::printf("== A machine with a 64-bit Java runtime: app.exe runs it\n");
    const std::wstring java64 = std::wstring(argv[1]) + L"\\java64";
    if (!installApplication(java64))
        return 1;
    const std::wstring home64 = installRuntime(java64 + L"\\jre64", {});
    if (home64.empty())
        return 1;
    launchAndReport(java64, home64, options);

    std::printf("\n== A machine whose only Java runtime is a 32-bit one: app.exe hands over to "
                "app32.exe, which gets no command-line arguments\n");
    const std::wstring console = std::wstring(argv[1]) + L"\\console";
    const auto consoleDemo = [&] {
        std::printf("\n== A command-line tool: convert.exe, the same launcher stamped "
                    "--subsystem console, prints in this terminal and ends with its "
                    "application's exit code\n");
        return runConsoleTool(console, options.arguments);
    };
    if (!pairedBuildRunsHere()) {
        std::printf("not shown: this machine does not run 32-bit programs (no 32-bit Wine)\n");
        return consoleDemo();
    }
    const std::wstring java32 = std::wstring(argv[1]) + L"\\java32";
    if (!installApplication(java32))
        return 1;
    const std::wstring home32 =
        installRuntime(java32 + L"\\jre32", pairedBuildFolder() + L"\\testjvm");
    if (home32.empty())
        return 1;
    // Registered as an installer registers a runtime, and removed again after the demo.
    const ScopedRegistryKey registration(L"Software\\JavaSoft\\Java Runtime Environment\\1.8.0_999",
                                         true, JavaHomeValue{home32});
    if (!registration.created()) {
        std::fprintf(stderr, "cannot register the 32-bit test runtime\n");
        return 1;
    }
    launchAndReport(java32, home32, options);
    return consoleDemo();
}
