// Strict UTF-8, one sequence at a time, for every reader of UTF-8 text: the jar manifest and the
// stamping tool's command line, paths and settings files. Each caller decides what a malformed
// sequence becomes (U+FFFD, a refusal, a byte kept as it was).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

struct Utf8Sequence {
    std::uint32_t codePoint = 0; // 0 when not valid
    // The sequence's bytes; for a malformed one, those that one U+FFFD replaces (never 0).
    std::size_t length = 1;
    bool valid = false;
};

// The sequence that starts at `at`, which must lie inside `bytes`.
[[nodiscard]] Utf8Sequence utf8SequenceAt(std::string_view bytes, std::size_t at);

// Appends `codePoint` to UTF-16 text held in any code-unit type, above U+FFFF as a pair.
template <typename Units>
void appendUtf16(Units& units, std::uint32_t codePoint) {
    using Unit = typename Units::value_type;
    if (codePoint < 0x10000) {
        units.push_back(static_cast<Unit>(codePoint));
        return;
    }
    codePoint -= 0x10000;
    units.push_back(static_cast<Unit>(0xD800 + (codePoint >> 10)));
    units.push_back(static_cast<Unit>(0xDC00 + (codePoint & 0x3FF)));
}
