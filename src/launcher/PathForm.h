// The form in which a path is handed to a Windows function that keeps a length limit of its
// own even in a process that declares itself long-path aware.
#pragma once

#include <cstddef>
#include <string>

enum class PathForm : unsigned char {
    asIs,      // short enough, or the function has no limit of its own
    extended,  // the same path behind the \\?\ prefix
    shortName, // the path through its short (8.3) folder names
    none,      // no form fits: handed on as it is, and the call fails on its own
};

// The limits of the functions the launcher calls that keep one, terminator excluded. None of
// them is handed the \\?\ form: the profile functions and CreateProcessW's application name
// are not documented to take it, a \\?\ current directory would reach every relative path
// resolved against it, and the VM takes its home folder and the paths it derives from its
// library's path.
// MAX_PATH less its terminator: the profile functions and the application name of a new
// process.
inline constexpr std::size_t kClassicPathLimit = 259;
// A current directory always ends in a backslash, which the function adds when it is missing.
inline constexpr std::size_t kCurrentDirectoryLimit = 258;
// A runtime library, whose dependencies the loader looks for in searched folders with the
// classic limit: the longest name a runtime ships beside its libraries,
// api-ms-win-crt-runtime-l1-1-0.dll, is 19 characters longer than server\jvm.dll.
inline constexpr std::size_t kLibraryLoadLimit = 240;

struct PathChoice {
    PathForm form;
    std::wstring path;
};

// How `path` goes to a function that takes at most `maxLength` characters (terminator
// excluded) and, if `takesExtendedForm`, a \\?\ path; `shortName` is its short form, empty
// where the volume keeps none.
[[nodiscard]] PathChoice choosePathForm(const std::wstring& path, std::size_t maxLength,
                                        bool takesExtendedForm, const std::wstring& shortName);

// The \\?\ form of a full path (\\?\UNC\server\share\... for a UNC path); empty for a relative
// path, a device path or one the prefix would hand on unresolved ("." or ".." components,
// forward slashes, doubled separators).
[[nodiscard]] std::wstring extendedPathForm(const std::wstring& path);

// Windows only: `path` in the form a function that refuses the \\?\ form and takes at most
// `maxLength` characters accepts; its short form is looked up only when it is needed.
[[nodiscard]] std::wstring pathForLimitedCall(const std::wstring& path, std::size_t maxLength);
