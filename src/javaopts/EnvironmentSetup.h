// The process environment that the VM, running in this process, and its children inherit.
#pragma once

#include <string>

// Publishes the chosen runtime: QOVA_JVM_PATH is the JVM library, QOVA_JVM_HOME the runtime's
// home folder.
void publishJvmLocation(const std::wstring& jvmLibraryPath);

// Answers an environment reference from this process's environment (an EnvironmentLookup).
[[nodiscard]] bool lookUpEnvironmentVariable(const std::wstring& name, std::wstring& value);

// Expands the %NAME% references of the text against this process's environment.
void expandFromProcessEnvironment(std::wstring& text);

// The option as the VM takes it: narrow text in the calling thread's ANSI code page.
[[nodiscard]] std::string vmOptionText(const std::wstring& option);
