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

// How a path reaches a narrow interface.
enum class AnsiPathForm {
    converted, // as it is: the code page holds it (always so when the code page is UTF-8)
    shortened, // by its short form, which the code page holds
    lossy,     // as it is, with substitutes: it does not exist, so no name would find it
    unnamed,   // it exists, but neither its name nor its short form survives the code page
};

struct AnsiPathChoice {
    AnsiPathForm form;
    std::string bytes; // the text to pass on; for unnamed, the lossy conversion
};

[[nodiscard]] AnsiPathChoice chooseAnsiPath(const std::wstring& path, AnsiConversion convert,
                                            ShortPathLookup shortPath);

// The path converted as it is when that loses nothing; else its short form when that converts
// losslessly; else the path's own lossy conversion.
[[nodiscard]] std::string ansiPathText(const std::wstring& path, AnsiConversion convert,
                                       ShortPathLookup shortPath);

// Where the value of a path-list option ("-Djava.class.path=", "-Djava.library.path=") starts;
// npos for any other option.
[[nodiscard]] size_t pathListValueStart(const std::wstring& option);

// A VM option as narrow text. An option that converts losslessly is converted as it is; in a
// path-list option that does not, each element is converted as a path of its own, so the
// elements that lose nothing keep their bytes. An element that exists but cannot be named in
// the code page keeps its lossy form and is stored in `unnamedPath` (the first such, when
// given).
[[nodiscard]] std::string vmOptionAnsiText(const std::wstring& option, AnsiConversion convert,
                                           ShortPathLookup shortPath,
                                           std::wstring* unnamedPath = nullptr);
