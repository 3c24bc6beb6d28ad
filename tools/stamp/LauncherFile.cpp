#include "LauncherFile.h"

#include "ByteReading.h"
#include "ConsoleOutput.h"
#include "FileBytes.h"
#include "PeImage.h"
#include "StampTexts.h"
#include "settings/EmbeddedSettingsText.h"

#include <algorithm>

bool openLauncherFile(const std::wstring& path, LauncherFile& launcher, int& exitCode) {
    launcher.path = path;
    std::uint32_t error = 0;
    if (!readFileBytes(path, launcher.bytes, error)) {
        printError(texts::cannotRead(path, error));
        exitCode = texts::kFileFailed;
        return false;
    }
    exitCode = texts::kRefused;
    const ExecutableCheck check = checkExecutable(launcher.bytes);
    if (check.problem != ExecutableProblem::none) {
        printError(texts::notALauncher(path, check.problem));
        return false;
    }
    launcher.build = check.build;
    ResourceTreeProblem problem = ResourceTreeProblem::none;
    if (!launcher.resources.open(launcher.bytes, problem) &&
        problem != ResourceTreeProblem::noResources) {
        printError(texts::damagedResources(path, problem));
        return false;
    }
    const auto mark =
        launcher.resources.bytes(kTypeRcdata, ResourceName(embedded::launcherMarkResourceName));
    if (!mark || mark->size() < 2 || readLe16(*mark, 0) == 0) {
        printError(texts::notALauncherWithoutMark(path));
        return false;
    }
    launcher.format = readLe16(*mark, 0);
    if (launcher.format > embedded::resourceFormat) {
        printError(texts::newerLauncherFormat(path, launcher.format));
        return false;
    }
    exitCode = texts::kDone;
    return true;
}

VersionFields readVersionFields(const ResourceModule& resources) {
    const std::vector<ResourceName> names = resources.names(kTypeVersion);
    if (names.empty())
        return {};
    const bool hasFirst = std::find(names.begin(), names.end(), ResourceName(1)) != names.end();
    const auto bytes = resources.bytes(kTypeVersion, hasFirst ? ResourceName(1) : names.front());
    return bytes ? parseVersionResource(*bytes) : VersionFields{};
}
