#include "ConsoleOutput.h"

#include "Utf8Text.h"

#include <cstdio>

void printOut(const std::wstring& text) {
    std::fputs(utf8FromUnits(text).c_str(), stdout);
    std::fflush(stdout);
}

void printError(const std::wstring& text) {
    std::fputs(utf8FromUnits(L"qova-stamp: " + text + L"\n").c_str(), stderr);
}
