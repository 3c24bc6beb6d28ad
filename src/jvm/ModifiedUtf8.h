// Text that comes back from Java through GetStringUTFChars.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Decodes Java's modified UTF-8 (NUL as C0 80, supplementary characters as two encoded
// surrogates) into UTF-16 code units. A malformed or cut-off sequence becomes U+FFFD.
[[nodiscard]] std::wstring decodeModifiedUtf8(std::string_view bytes);

// The reverse, for the names handed to FindClass and GetStaticMethodID: UTF-16 units each
// encoded on their own, NUL as C0 80.
[[nodiscard]] std::string encodeModifiedUtf8(std::wstring_view text);
