// The process environment that the VM, running in this process, and its children inherit.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Publishes the chosen runtime: QOVA_JVM_PATH is the JVM library, QOVA_JVM_HOME the runtime's
// home folder.
void publishJvmLocation(const std::wstring& jvmLibraryPath);

// Answers an environment reference from this process's environment (an EnvironmentLookup).
[[nodiscard]] bool lookUpEnvironmentVariable(const std::wstring& name, std::wstring& value);

// Expands the %NAME% references of the text against this process's environment.
void expandFromProcessEnvironment(std::wstring& text);

// The option as the VM takes it: narrow text in the calling thread's ANSI code page (UTF-8 in
// a process whose code page is UTF-8). The first path element that exists but cannot be
// named in that code page is stored in `unnamedPath`, when given.
[[nodiscard]] std::string vmOptionText(const std::wstring& option,
                                       std::wstring* unnamedPath = nullptr);

// Appends the option as the VM takes it; false, with the message shown, when a path in it
// cannot be named in the code page.
[[nodiscard]] bool appendVmOption(HWND owner, const std::wstring& option,
                                  std::vector<std::string>& options);
