// Stamps settings into the launcher copy of an application folder with the stamping tool, as a
// vendor does before shipping it.
#pragma once

#include "LaunchHarness.h"

#include <string>

// `settingsText` is the settings file the tool embeds (UTF-8, "\n" line ends are fine);
// `moreOptions`, the tool's further options as they stand on its command line.
[[nodiscard]] inline bool stampEmbeddedSettings(const AppFolder& app,
                                                const std::string& settingsText,
                                                const std::wstring& moreOptions = {}) {
    const std::wstring settings = app.file(L"embedded.ini");
    writeBytesFile(settings, settingsText);
    const LaunchResult stamping =
        runProgram(testProgramFolder() + L"\\qova-stamp.exe",
                   {.arguments = L"--settings " + quotedArgument(settings) + L" " + moreOptions +
                                 L" " + quotedArgument(app.exePath())});
    return stamping.exitCode == 0 && !stamping.timedOut;
}
