// Text conversions shared by the test runtime, its harness and its tests: Java's modified UTF-8,
// standard UTF-8, and the escaping of one value per line in the script and record files.
#pragma once

#include <string>
#include <string_view>

namespace testjvm {

// Modified UTF-8 as JNI uses it: NUL as C0 80, each UTF-16 code unit outside the ASCII range
// encoded on its own (so a supplementary character becomes two 3-byte surrogates and an
// unpaired surrogate survives). Lossless for any UTF-16 text.
std::string toModifiedUtf8(std::wstring_view text);
// Decodes modified UTF-8; also accepts standard 4-byte sequences. A malformed byte becomes
// U+FFFD.
std::wstring fromModifiedUtf8(std::string_view bytes);

// Standard UTF-8, the charset of the runtime's streams. An unpaired surrogate is written as "?",
// as Java's encoder does; malformed input decodes to U+FFFD.
std::string toUtf8(std::wstring_view text);
std::wstring fromUtf8(std::string_view bytes);

// One value per line: backslash, CR, LF, TAB and the other control bytes are escaped (\\ \r \n
// \t \xHH); with escapeNonAscii, bytes from 0x80 up are escaped too, for byte strings that are
// not UTF-8.
std::string escapeValue(std::string_view bytes, bool escapeNonAscii = false);
std::string unescapeValue(std::string_view text);

// A UTF-16 text as a line value (modified UTF-8, escaped) and back.
std::string textValue(std::wstring_view text);
std::wstring textFromValue(std::string_view value);

// Splits "key=value"; false for a line without "=".
bool splitLine(std::string_view line, std::string_view& key, std::string_view& value);

} // namespace testjvm
