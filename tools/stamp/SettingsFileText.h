// A settings file turned into the text a launcher embeds, and checked line by line against the
// rules by which the launcher reads an embedded text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

enum class SettingsFileProblem {
    none,
    notUtf8OrUtf16,   // neither UTF-8 (with or without a byte-order mark) nor UTF-16LE with one
    controlCharacter, // a control character other than tab, carriage return and line feed
    notASetting,      // a line that is neither blank, a comment, a [section] nor key=value
    outsideSection,   // a key=value line before the first section
    emptyKey          // a line "=value" or " = value"
};

struct SettingsFileText {
    // The text with every line break (CR LF, LF or CR) made CR LF, the launcher's separator,
    // without a byte-order mark; one wchar_t per UTF-16 code unit.
    std::wstring text;
    SettingsFileProblem problem = SettingsFileProblem::none;
    std::size_t line = 0; // 1-based, where the problem is
};

// Comments are lines whose first non-blank character is ";" or "#"; the launcher skips them
// (or, with a "=" in them, keeps them as a key nobody reads), so they are harmless to embed.
[[nodiscard]] SettingsFileText settingsTextFromFile(std::span<const std::uint8_t> bytes);
