#include "LaunchHarness.h"
#include "MessageBoxes.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <stdexcept>
#include <string>

namespace {

std::wstring environmentBlock(const std::map<std::wstring, std::optional<std::wstring>>& changes) {
    // Start from our own environment, case-insensitively keyed as Windows does.
    struct Caseless {
        bool operator()(const std::wstring& a, const std::wstring& b) const {
            return _wcsicmp(a.c_str(), b.c_str()) < 0;
        }
    };
    std::map<std::wstring, std::wstring, Caseless> variables;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry; entry += wcslen(entry) + 1) {
        const std::wstring line = entry;
        const size_t equals = line.find(L'=', 1); // "=C:=C:\..." entries start with "="
        if (equals != std::wstring::npos)
            variables[line.substr(0, equals)] = line.substr(equals + 1);
    }
    FreeEnvironmentStringsW(strings);
    for (const auto& [name, value] : changes) {
        if (value)
            variables[name] = *value;
        else
            variables.erase(name);
    }
    std::wstring block;
    for (const auto& [name, value] : variables)
        block += name + L"=" + value + L'\0';
    block += L'\0';
    return block;
}

std::wstring besideTestProgramFolder(const wchar_t* relativeFolder) {
    const std::wstring relative = testProgramFolder() + relativeFolder;
    std::wstring full(32768, L'\0');
    full.resize(
        GetFullPathNameW(relative.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    return full.empty() ? relative : full;
}

} // namespace

std::wstring builtLauncherPath() { return testProgramFolder() + L"\\launcher.exe"; }

std::wstring pairedBuildFolder() { return besideTestProgramFolder(L"\\..\\win32\\bin"); }

std::wstring x64BuildFolder() { return besideTestProgramFolder(L"\\..\\..\\bin"); }

bool pairedBuildRunsHere() {
    // The paired build's probe, run from a fresh folder (it writes beside itself), ends with
    // the exit code it is given.
    static const bool runs = [] {
        TempFolder folder;
        const std::wstring probe = folder.file(L"probe32.exe");
        const std::wstring built = pairedBuildFolder() + L"\\paired_probe.exe";
        if (!CopyFileW(built.c_str(), probe.c_str(), FALSE))
            return false;
        try {
            const LaunchResult result =
                runProgram(probe, {.environment = {{L"QOVA_PROBE_EXIT_CODE", L"7"}}});
            return !result.timedOut && result.exitCode == 7;
        } catch (const std::runtime_error&) {
            return false; // not even started
        }
    }();
    return runs;
}

std::vector<std::wstring> LaunchResult::messageTexts() const {
    std::vector<std::wstring> texts;
    for (const auto& box : messageBoxes)
        texts.push_back(box.text);
    return texts;
}

std::wstring quotedArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t") == std::wstring::npos)
        return argument;
    return L"\"" + argument + L"\"";
}

LaunchResult runProgram(const std::wstring& exePath, const LaunchOptions& options) {
    std::wstring commandLine = L"\"" + exePath + L"\"";
    if (!options.arguments.empty())
        commandLine += L" " + options.arguments;
    std::wstring environment = environmentBlock(options.environment);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Starting a process was seen to fail once on a heavily loaded machine, with the same
    // launch passing when repeated: try a few times, and name the error when it persists.
    DWORD error = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                           CREATE_UNICODE_ENVIRONMENT, environment.data(),
                           options.currentDirectory.empty() ? nullptr : options.currentDirectory.c_str(),
                           &startup, &process)) {
            error = 0;
            break;
        }
        error = GetLastError();
        Sleep(200);
    }
    if (error != 0)
        throw std::runtime_error("cannot start " + narrow(exePath) + " (error " + std::to_string(error) + ")");
    CloseHandle(process.hThread);

    LaunchResult result;
    std::set<HWND> answered;
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD wait = WaitForSingleObject(process.hProcess, 25);
        if (wait == WAIT_OBJECT_0)
            break;
        for (HWND dialog : visibleDialogsOf(process.dwProcessId)) {
            if (answered.count(dialog))
                continue;
            answered.insert(dialog);
            if (options.onDialog && options.onDialog(dialog))
                continue;
            result.messageBoxes.push_back({messageBoxText(dialog), windowCaption(dialog)});
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(options.messageBoxAnswer, BN_CLICKED), 0);
        }
        if (options.whileRunning)
            options.whileRunning(process.dwProcessId);
        if (GetTickCount() - start > options.timeoutMs) {
            result.timedOut = true;
            TerminateProcess(process.hProcess, 0xDEAD);
            WaitForSingleObject(process.hProcess, 5000);
            break;
        }
    }
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    CloseHandle(process.hProcess);
    return result;
}

AppFolder::AppFolder(const std::wstring& exeName) : exePath_(temp_.file(exeName)) {
    createFolders(exePath_.substr(0, exePath_.rfind(L'\\')));
    if (!CopyFileW(builtLauncherPath().c_str(), exePath_.c_str(), FALSE))
        throw std::runtime_error("cannot copy the launcher to " + narrow(exePath_));
}

std::wstring AppFolder::besideExe(const std::wstring& relative) const {
    return exePath_.substr(0, exePath_.rfind(L'\\') + 1) + relative;
}

void AppFolder::writeSettings(const std::wstring& text) const {
    const size_t dot = exePath_.rfind(L'.');
    writeUtf16File(exePath_.substr(0, dot + 1) + L"ini", text);
}

LaunchResult AppFolder::launch(const LaunchOptions& options) const {
    return runProgram(exePath_, options);
}
