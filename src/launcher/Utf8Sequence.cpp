#include "launcher/Utf8Sequence.h"

// Lead bytes C2-DF, E0-EF and F0-F4 start sequences of two, three and four bytes; 80-C1 and
// F5-FF start none (C0 and C1 could only start overlong forms, F5 and above only values past
// U+10FFFF). The second byte's range is narrower after E0 and F0 (overlong forms) and F4 (past
// U+10FFFF), so a malformed sequence is known at its first wrong byte, and it ends there: the
// bytes before that one are replaced as one, as the JDK's decoder and the Unicode standard's
// recommended practice replace them. An encoded surrogate (ED A0-BF xx) is the one exception,
// kept as the JDK keeps it: three well-formed bytes that make no character, replaced as one.
Utf8Sequence utf8SequenceAt(std::string_view bytes, std::size_t at) {
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(bytes[at + k]); };
    const std::uint8_t lead = byte(0);
    if (lead < 0x80)
        return {lead, 1, true};
    if (lead < 0xC2 || lead > 0xF4)
        return {};
    const std::size_t length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    std::uint32_t code = lead & (0x7F >> length);
    const std::uint8_t low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const std::uint8_t high = lead == 0xF4 ? 0x8F : 0xBF;
    const std::size_t available = bytes.size() - at;
    for (std::size_t k = 1; k < length; ++k) {
        // Cut short: the bytes that are there are one malformed sequence.
        if (k == available)
            return {0, k, false};
        const std::uint8_t next = byte(k);
        if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
            return {0, k, false};
        code = code << 6 | (next & 0x3F);
    }
    if (code >> 11 == 0xD800 >> 11) // D800 to DFFF
        return {0, length, false};
    return {code, length, true};
}
