// Paths handed to the VM as narrow text in the ANSI code page, which may lack characters of
// a path (a Cyrillic user name under a Western code page). Such a path reaches the VM by its
// short name, which is ANSI, wherever the volume keeps short names.
#pragma once

#include <string>

struct AnsiText {
    std::string bytes;
    // Every character had its own byte form: no default or best-fit substitute was used.
    bool lossless = true;
};

// The text in the ANSI code page. Plain function pointers: the launcher has exactly one of
// each, and std::function would cost it its type-erasure machinery.
using AnsiConversion = AnsiText (*)(const std::wstring& text);
// The path's short form; empty when there is none.
using ShortPathLookup = std::wstring (*)(const std::wstring& path);

// The path converted as it is when that loses nothing; else its short form when that converts
// losslessly; else the path's own lossy conversion.
[[nodiscard]] std::string ansiPathText(const std::wstring& path, AnsiConversion convert,
                                       ShortPathLookup shortPath);

// Where the value of a path-list option ("-Djava.class.path=", "-Djava.library.path=") starts;
// npos for any other option.
[[nodiscard]] size_t pathListValueStart(const std::wstring& option);

// A VM option as narrow text. An option that converts losslessly is converted as it is; in a
// path-list option that does not, each element is converted as a path of its own, so the
// elements that lose nothing keep their bytes.
[[nodiscard]] std::string vmOptionAnsiText(const std::wstring& option, AnsiConversion convert,
                                           ShortPathLookup shortPath);
