// Text that comes back from Java through GetStringUTFChars.
#pragma once

#include <string>
#include <string_view>

// Decodes Java's modified UTF-8 (NUL as C0 80, supplementary characters as two encoded
// surrogates) into UTF-16 code units. A malformed or cut-off sequence becomes U+FFFD.
[[nodiscard]] std::wstring decodeModifiedUtf8(std::string_view bytes);
