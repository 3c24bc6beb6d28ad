// Stands in for a paired launcher: writes the command line it was given into "<its own
// path>.cmdline" (UTF-16, no byte-order mark) and ends with the exit code named by the
// environment variable QOVA_PROBE_EXIT_CODE (0 without it), which it inherits from the
// launcher that started it. On a console it also writes QOVA_PROBE_OUTPUT, when set, on its
// standard output; with QOVA_PROBE_WAIT_FOR_CTRL_C set it then waits for Ctrl+C and ends with
// 130, as a Java VM ends after it.
#include <windows.h>

#include <cwchar>
#include <string>

BOOL WINAPI endAfterCtrlC(DWORD event) {
    if (event == CTRL_C_EVENT)
        ExitProcess(130);
    return FALSE;
}

int wmain() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    const wchar_t* commandLine = GetCommandLineW();
    HANDLE file = CreateFileW((path + L".cmdline").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, commandLine, static_cast<DWORD>(wcslen(commandLine) * sizeof(wchar_t)),
                  &written, nullptr);
        CloseHandle(file);
    }
    wchar_t output[256] = L"";
    if (GetEnvironmentVariableW(L"QOVA_PROBE_OUTPUT", output, 256)) {
        if (GetEnvironmentVariableW(L"QOVA_PROBE_WAIT_FOR_CTRL_C", nullptr, 0))
            SetConsoleCtrlHandler(&endAfterCtrlC, TRUE);
        char bytes[260];
        const int size = WideCharToMultiByte(CP_UTF8, 0, output, -1, bytes, 256, nullptr, nullptr);
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes, size > 0 ? size - 1 : 0, &written,
                  nullptr);
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "\r\n", 2, &written, nullptr);
        if (GetEnvironmentVariableW(L"QOVA_PROBE_WAIT_FOR_CTRL_C", nullptr, 0))
            Sleep(20000);
    }
    wchar_t code[32] = L"";
    GetEnvironmentVariableW(L"QOVA_PROBE_EXIT_CODE", code, 32);
    return static_cast<int>(wcstoul(code, nullptr, 10));
}
