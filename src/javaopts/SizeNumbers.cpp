#include "javaopts/SizeNumbers.h"

#include <limits>

namespace {

constexpr std::uint64_t kMaximum = std::numeric_limits<std::uint64_t>::max();

bool isDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

} // namespace

std::uint64_t saturatingMultiply(std::uint64_t a, std::uint64_t b) {
    if (a != 0 && b > kMaximum / a)
        return kMaximum;
    return a * b;
}

// Digits accumulate into the current number and ":" starts the next one; every other character
// is skipped, so "-Xmx25:512:1024P" reads as 25, 512, 1024. A number too large for 64 bits is
// held at the maximum and flagged rather than wrapped: a wrapped size would be a plausible-looking
// but arbitrary heap or stack size.
SizeNumbers readSizeNumbers(std::wstring_view text, LastCharacter last) {
    SizeNumbers result;
    result.start = text.size();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isDigit(text[i]) || text[i] == L':') {
            result.start = i;
            break;
        }
    }
    if (result.start == text.size())
        return result;

    result.numbers.push_back(0);
    // The last character names the unit (P, T, K, M, G...) and is never a digit of the number.
    const std::size_t end = last == LastCharacter::Unit ? text.size() - 1 : text.size();
    for (std::size_t i = result.start; i < end; ++i) {
        const wchar_t c = text[i];
        if (c == L':') {
            result.numbers.push_back(0);
        } else if (isDigit(c)) {
            std::uint64_t& number = result.numbers.back();
            const auto digit = static_cast<std::uint64_t>(c - L'0');
            if (number > (kMaximum - digit) / 10) {
                number = kMaximum;
                result.overflowed = true;
            } else {
                number = number * 10 + digit;
            }
        }
    }
    return result;
}
