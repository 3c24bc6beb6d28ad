// The one UTF-8 decoder: which sequences are characters, and how many bytes a malformed one
// spans, which decides how many U+FFFD the manifest reader writes for it.
#include "launcher/Utf8Sequence.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

struct SequenceCase {
    const char* fault;
    std::string_view bytes;
    std::uint32_t codePoint; // 0: malformed
    std::size_t length;
};

TEST(Utf8Sequence, TakesOnlyWellFormedSequences) {
    const SequenceCase cases[] = {
        {"two bytes misread", "\xC3\xA9", 0xE9, 2},
        {"the last character of the basic plane refused", "\xEF\xBF\xBF", 0xFFFF, 3},
        {"the last code point refused", "\xF4\x8F\xBF\xBF", 0x10FFFF, 4},
        {"lead byte F8 read as the start of a sequence", "\xF8\x80\x80", 0, 1},
        {"lead byte F5 read as the start of a value past U+10FFFF", "\xF5\x80\x80\x80", 0, 1},
        {"a lone continuation byte read as a lead", "\x80\x80", 0, 1},
        {"an overlong two-byte form (C0) taken", "\xC0\xAF", 0, 1},
        {"an overlong two-byte form (C1) taken", "\xC1\xBF", 0, 1},
        {"an overlong three-byte form taken", "\xE0\x80\xAF", 0, 1},
        {"an overlong four-byte form taken", "\xF0\x80\x80\xAF", 0, 1},
        {"a value past U+10FFFF taken", "\xF4\x90\x80\x80", 0, 1},
        {"an encoded surrogate taken, or not replaced as one", "\xED\xA0\x80", 0, 3},
        {"a sequence broken by an ASCII byte swallowing it", "\xE2\x82" "A", 0, 2},
        {"a sequence cut short read past the end", "\xF0\x9F\x98", 0, 3},
        {"a lead byte at the end read past it", "\xC3", 0, 1},
    };
    for (const SequenceCase& test : cases) {
        SCOPED_TRACE(test.fault);
        const Utf8Sequence sequence = utf8SequenceAt(test.bytes, 0);
        EXPECT_EQ(sequence.valid, test.codePoint != 0);
        EXPECT_EQ(sequence.codePoint, test.codePoint);
        EXPECT_EQ(sequence.length, test.length);
    }
}

} // namespace
