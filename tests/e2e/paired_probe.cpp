// Stands in for a paired launcher: writes the command line it was given into "<its own
// path>.cmdline" (UTF-16, no byte-order mark) and ends with the exit code named by the
// environment variable QOVA_PROBE_EXIT_CODE (0 without it), which it inherits from the
// launcher that started it.
#include <windows.h>

#include <cwchar>
#include <string>

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
    wchar_t code[32] = L"";
    GetEnvironmentVariableW(L"QOVA_PROBE_EXIT_CODE", code, 32);
    return static_cast<int>(wcstoul(code, nullptr, 10));
}
