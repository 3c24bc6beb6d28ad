#include "LaunchHarness.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <stdexcept>

namespace {

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The text of a message box: its static controls that are not the icon.
std::wstring messageBoxText(HWND dialog) {
    std::wstring text;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (_wcsicmp(className(child).c_str(), L"Static") != 0)
            continue;
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if ((style & SS_TYPEMASK) == SS_ICON)
            continue;
        const std::wstring piece = windowText(child);
        if (piece.empty())
            continue;
        if (!text.empty())
            text += L"\n";
        text += piece;
    }
    return text;
}

struct DialogSearch {
    DWORD processId;
    std::vector<HWND> dialogs;
};

BOOL CALLBACK collectDialogs(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<DialogSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && className(window) == L"#32770")
        search->dialogs.push_back(window);
    return TRUE;
}

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

} // namespace

std::wstring builtLauncherPath() { return testProgramFolder() + L"\\launcher.exe"; }

std::vector<std::wstring> LaunchResult::messageTexts() const {
    std::vector<std::wstring> texts;
    for (const auto& box : messageBoxes)
        texts.push_back(box.text);
    return texts;
}

LaunchResult runProgram(const std::wstring& exePath, const LaunchOptions& options) {
    std::wstring commandLine = L"\"" + exePath + L"\"";
    if (!options.arguments.empty())
        commandLine += L" " + options.arguments;
    std::wstring environment = environmentBlock(options.environment);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT, environment.data(),
                        options.currentDirectory.empty() ? nullptr : options.currentDirectory.c_str(),
                        &startup, &process))
        throw std::runtime_error("cannot start " + narrow(exePath));
    CloseHandle(process.hThread);

    LaunchResult result;
    std::set<HWND> answered;
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD wait = WaitForSingleObject(process.hProcess, 25);
        if (wait == WAIT_OBJECT_0)
            break;
        DialogSearch search{process.dwProcessId, {}};
        EnumWindows(collectDialogs, reinterpret_cast<LPARAM>(&search));
        for (HWND dialog : search.dialogs) {
            if (answered.count(dialog))
                continue;
            answered.insert(dialog);
            result.messageBoxes.push_back({messageBoxText(dialog), windowText(dialog)});
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(options.messageBoxAnswer, BN_CLICKED), 0);
        }
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
    if (!CopyFileW(builtLauncherPath().c_str(), exePath_.c_str(), FALSE))
        throw std::runtime_error("cannot copy the launcher to " + narrow(exePath_));
}

void AppFolder::writeSettings(const std::wstring& text) const {
    const size_t dot = exePath_.rfind(L'.');
    writeUtf16File(exePath_.substr(0, dot + 1) + L"ini", text);
}

LaunchResult AppFolder::launch(const LaunchOptions& options) const {
    return runProgram(exePath_, options);
}
