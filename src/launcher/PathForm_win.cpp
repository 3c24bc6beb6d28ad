#include "launcher/PathForm.h"

#include "javaopts/AnsiText.h"

std::wstring pathForLimitedCall(const std::wstring& path, std::size_t maxLength) {
    // The usual case costs no call into the file system.
    if (path.size() <= maxLength)
        return path;
    // The folders shortened and the last name kept: a file that is still to be written (a new
    // per-user settings file) has no short name of its own yet, and a launcher started by a
    // name other than its own would look for settings files of that other name. The folder
    // keeps its trailing backslash in its short form; without one in the path there is no
    // folder to shorten, and the lookup of an empty name fails.
    const size_t nameStart = path.rfind(L'\\', path.size() - 2) + 1;
    std::wstring shortName = shortPathName(path.substr(0, nameStart));
    if (!shortName.empty())
        shortName.append(path, nameStart);
    return choosePathForm(path, maxLength, false, shortName).path;
}
