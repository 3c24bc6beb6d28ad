// The class path as the file system resolves it.
#pragma once

#include <string>
#include <vector>

// The names (cFileName, the long names) that FindFirstFileW and FindNextFileW return for the
// pattern, in the order returned, "." and ".." and folders included; empty when the search
// fails or finds nothing.
[[nodiscard]] std::vector<std::wstring> findFileNames(const std::wstring& pattern);

// The class path text of a "Class Path" value: every entry expanded against the process
// environment, then searched beside the executable or taken as written; with embeddedJar the
// executable's own file comes first. Every element ends in ";".
[[nodiscard]] std::wstring buildClassPath(const std::wstring& classPathSetting,
                                          const std::wstring& executablePath, bool embeddedJar);
