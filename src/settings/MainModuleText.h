// "Main Module" as the java command's -m takes it: a module name, optionally with the class
// to start after a "/".
#pragma once

#include "runtime/JavaVersion.h"

#include <string>

struct MainModule {
    std::wstring module;
    std::wstring mainClass; // slash form; empty when the module's descriptor names the class
};

[[nodiscard]] MainModule splitMainModule(const std::wstring& text);

// Modules came with Java 9: with module settings the minimum version is at least 9, whatever
// the settings say; a higher configured minimum stays.
[[nodiscard]] JavaVersion modularMinimumVersion(const JavaVersion& configured);
