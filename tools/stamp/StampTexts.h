// The stamping tool's help, messages and exit codes, in one place (the user documentation
// quotes them). The report of --show is laid out where it is made, in Show.cpp.
#pragma once

#include "IconFile.h"
#include "ManifestCodePage.h"
#include "PeImage.h"
#include "ResourceSection.h"
#include "ResourceTree.h"
#include "SettingsFileText.h"
#include "Subsystem.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace texts {

// Exit codes.
inline constexpr int kDone = 0;
inline constexpr int kRefused = 1; // an input was not accepted; nothing was written
inline constexpr int kBadCommandLine = 2;
inline constexpr int kFileFailed = 3; // a file could not be read or written; nothing written

std::wstring help();

// Command line.
std::wstring unknownOption(std::wstring_view option);
std::wstring optionNeedsValue(std::wstring_view option);
std::wstring optionTwice(std::wstring_view option);
std::wstring secondLauncher(std::wstring_view argument);
std::wstring noLauncher();
std::wstring nothingToDo();
std::wstring outWithoutStamping();
std::wstring notAnExecutionLevel(std::wstring_view value);
std::wstring notACodePage(std::wstring_view value);
std::wstring notAVersion(std::wstring_view value);
std::wstring notASubsystem(std::wstring_view value);
std::wstring seeHelp();

// The name a launcher build goes by: "x86", "x64", "arm64".
std::wstring buildName(LauncherBuild build);

// Refusals.
std::wstring notALauncher(std::wstring_view path, ExecutableProblem problem);
std::wstring notALauncherWithoutMark(std::wstring_view path);
std::wstring damagedResources(std::wstring_view path, ResourceTreeProblem problem);
std::wstring cannotRebuildResources(std::wstring_view path, ResourceSectionProblem problem,
                                    std::string_view section);
std::wstring newerLauncherFormat(std::wstring_view path, std::uint16_t format);
std::wstring notAnIcon(std::wstring_view path, IconFileProblem problem, std::size_t imageIndex);
std::wstring settingsDoNotParse(std::wstring_view path, SettingsFileProblem problem,
                                std::size_t line);
std::wstring tooManyIconImages(std::wstring_view path);
std::wstring noExecutionLevelInManifest(std::wstring_view path);
std::wstring noCodePageInManifest(std::wstring_view path);
std::wstring versionTooLong();
std::wstring signedLauncher(std::wstring_view path);
std::wstring signatureNotRemovable(std::wstring_view path);

// Failures of file operations, with the system's error code.
std::wstring cannotRead(std::wstring_view path, std::uint32_t error);
std::wstring cannotWrite(std::wstring_view path, std::uint32_t error);

// The line printed after a successful stamping, naming what was written: the parts below,
// joined by ", ".
std::wstring stamped(std::wstring_view path, std::wstring_view what);
std::wstring stampedIcon(std::size_t images);
std::wstring stampedSettings(std::size_t sections);
std::wstring stampedExecutionLevel(std::wstring_view level);
std::wstring stampedCodePage(CodePage codePage);
std::wstring stampedVersion();
std::wstring stampedSubsystem(Subsystem subsystem);
std::wstring removedSignature();
std::wstring noSignatureToRemove();

// "1 image", "2 images".
std::wstring counted(std::size_t count, std::wstring_view noun);

} // namespace texts
