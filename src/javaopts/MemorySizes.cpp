#include "javaopts/MemorySizes.h"

#include "javaopts/SizeNumbers.h"
#include "launcher/DecimalText.h"

#include <limits>

namespace {

constexpr std::uint64_t kMaximum = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint64_t kKib = 1024;

bool startsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, std::char_traits<wchar_t>::length(prefix), prefix) == 0;
}

std::uint64_t numberAt(const SizeNumbers& read, std::size_t index) {
    return index < read.numbers.size() ? read.numbers[index] : 0;
}

// Truncates toward zero; a product beyond 64 bits (an absurd percentage) is held at the largest
// size instead of being converted, which would be undefined.
std::uint64_t toSize(double value) {
    // 2^64 is exactly representable; every double below it converts safely.
    constexpr double kLimit = 18446744073709551616.0;
    if (!(value < kLimit))
        return kMaximum;
    return static_cast<std::uint64_t>(value);
}

} // namespace

bool isPercentageSize(const std::wstring& option) {
    if (!startsWith(option, L"-Xms") && !startsWith(option, L"-Xmx") &&
        !startsWith(option, L"-Xss"))
        return false;
    const wchar_t last = option.back();
    return last == L'P' || last == L'p' || last == L'T' || last == L't';
}

std::uint64_t percentageSizeKib(const std::wstring& option, const MemoryStatus& memory) {
    const SizeNumbers read = readSizeNumbers(option);
    const std::uint64_t percent = numberAt(read, 0);
    const std::uint64_t minimumMib = numberAt(read, 1);
    const std::uint64_t maximumMib = numberAt(read, 2);

    const wchar_t letter = option.back();
    const std::uint64_t base =
        (letter == L'P' || letter == L'p') ? memory.totalPhys : memory.availVirtual;
    const std::uint64_t baseKib = base >> 10;
    // Always this order in double precision: a percentage such as 10 has no exact binary
    // value, and another order could move the result by a kibibyte.
    std::uint64_t size =
        toSize(static_cast<double>(baseKib) * (static_cast<double>(percent) / 100.0));

    const std::uint64_t maximumKib = saturatingMultiply(maximumMib, kKib);
    if (maximumMib != 0 && size > maximumKib)
        size = maximumKib;
    // The minimum comes last, so it wins over a smaller maximum.
    const std::uint64_t minimumKib = saturatingMultiply(minimumMib, kKib);
    if (minimumKib > size)
        size = minimumKib;
    return size;
}

void rewritePercentageSize(std::wstring& option, const MemoryStatus& memory) {
    if (!isPercentageSize(option))
        return;
    const std::uint64_t size = percentageSizeKib(option, memory);
    const std::size_t prefixEnd = readSizeNumbers(option).start;
    // The whole unsigned size: the heap of a large machine exceeds what a 32-bit field holds.
    option = option.substr(0, prefixEnd) + decimalText(static_cast<uint64_t>(size)) + L'K';
}

std::uint64_t parseStackSize(const std::wstring& text) {
    if (text.empty())
        return 0;
    const wchar_t unit = text.back();
    // A value without a unit letter is in bytes, and its last digit is part of it.
    const bool endsInDigit = unit >= L'0' && unit <= L'9';
    const SizeNumbers read =
        readSizeNumbers(text, endsInDigit ? LastCharacter::Number : LastCharacter::Unit);
    if (read.start != 0 || read.numbers.size() != 1 || read.overflowed)
        return 0;

    std::uint64_t multiplier = 1;
    switch (unit) {
    case L'G':
    case L'g':
        multiplier = std::uint64_t{1} << 30;
        break;
    case L'M':
    case L'm':
        multiplier = std::uint64_t{1} << 20;
        break;
    case L'K':
    case L'k':
        multiplier = kKib;
        break;
    default:
        break;
    }
    // A size that does not fit in 64 bits cannot be a real stack: use the default one.
    if (read.numbers.front() > kMaximum / multiplier)
        return 0;
    return read.numbers.front() * multiplier;
}
