// The class path rules that are pure text: which entries are searched, where, and how the
// found names are joined.
#pragma once

#include "javaopts/EnvironmentReferences.h"

#include <functional>
#include <string>
#include <vector>

// The names (not paths) that match a search pattern, in the order the file system returns
// them, "." and ".." and folders included; empty when nothing matches or the search fails.
using FileSearch = std::function<std::vector<std::wstring>(const std::wstring& pattern)>;

// The "Class Path" value split at every ";": an empty entry stays between two separators and
// before a leading one; a trailing separator adds none.
[[nodiscard]] std::vector<std::wstring> splitClassPathEntries(const std::wstring& text);

// Neither a drive path (second character ":") nor a UNC path (leading "\\").
[[nodiscard]] bool isRelativeClassPathEntry(const std::wstring& entry);

// Relative entries and any entry with "*" are searched; drive and UNC entries without "*" are
// taken as written, whether or not they exist.
[[nodiscard]] bool isSearchedClassPathEntry(const std::wstring& entry);

// A relative entry is glued directly behind the executable's folder (no backslash between:
// entries are written as \lib\app.jar); any other entry is its own pattern.
[[nodiscard]] std::wstring classPathSearchPattern(const std::wstring& entry,
                                                  const std::wstring& executableFolder);

// The pattern up to and including its last backslash: the folder the found names are in.
[[nodiscard]] std::wstring searchResultFolder(const std::wstring& pattern);

// Appends one element and its ";" (a non-empty class path always ends with ";").
void appendClassPathElement(std::wstring& classPath, const std::wstring& element);

// Searches for an expanded entry, or takes it as written, and appends what it yields.
void resolveClassPathEntry(const std::wstring& entry, const std::wstring& executableFolder,
                           const FileSearch& search, std::wstring& classPath);

// Every entry of the "Class Path" value, expanded and resolved in order.
[[nodiscard]] std::wstring assembleClassPath(const std::wstring& classPathSetting,
                                             const std::wstring& executableFolder,
                                             const EnvironmentLookup& lookup,
                                             const FileSearch& search);

// The executable's own file first, for an application packed into the executable.
void prependEmbeddedJar(std::wstring& classPath, const std::wstring& executablePath);

[[nodiscard]] std::wstring classPathOption(const std::wstring& classPath);
