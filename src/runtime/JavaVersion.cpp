#include "runtime/JavaVersion.h"

#include "launcher/DecimalText.h"

#include <algorithm>
#include <limits>

namespace {

// Only ASCII digits count: version texts come from registry key names and settings, where
// other scripts' digits would be a typing accident rather than a number.
bool isDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// A plain loop: the library's search is unrolled four times over.
size_t findDigit(const std::wstring& text, size_t from) {
    while (from < text.size() && !isDigit(text[from]))
        ++from;
    return from;
}

} // namespace

bool JavaVersion::parse(const std::wstring& text, int32_t fill) {
    components.fill(0);
    // Whatever precedes the first digit is a label ("jre1.6", "jdk1.8.0_202"), not a number.
    size_t position = findDigit(text, 0);
    if (position == text.size())
        return false;

    size_t read = 0;
    while (read < components.size()) {
        int64_t value = 0;
        for (; position < text.size() && isDigit(text[position]); ++position) {
            value = value * 10 + (text[position] - L'0');
            if (value > std::numeric_limits<int32_t>::max()) {
                components.fill(0);
                return false;
            }
        }
        components[read++] = static_cast<int32_t>(value);
        // Any run of non-digits separates, so "1.8.0_202-b08" reads as 1, 8, 0, 202 and
        // a fifth run is never looked at.
        position = findDigit(text, position);
        if (position == text.size())
            break;
    }
    std::fill(components.begin() + static_cast<std::ptrdiff_t>(read), components.end(), fill);
    return true;
}

std::wstring JavaVersion::toString() const {
    // Trailing zeros and the 65535 fill of a maximum say nothing a reader needs, but the
    // text always keeps "major.minor" so that 1.0 does not read as a bare 1.
    int last = -1;
    for (int i = 3; i >= 0; --i) {
        if (components[i] != 0 && components[i] != unboundedComponent) {
            last = i;
            break;
        }
    }
    if (last < 0)
        return L"0.0.0.0";
    last = std::max(last, 1);
    std::wstring text;
    for (int i = 0; i <= last; ++i) {
        if (i > 0)
            text += L'.';
        text += decimalText(static_cast<int64_t>(components[i]));
    }
    return text;
}

// Plain comparisons rather than std::all_of, whose loop is unrolled four times over.
bool JavaVersion::isZero() const {
    return (components[0] | components[1] | components[2] | components[3]) == 0;
}

// All four are 65535 when they share its bits (the AND) and have no other (the OR).
bool JavaVersion::isUnbounded() const {
    const auto& c = components;
    return isZero() || ((c[0] & c[1] & c[2] & c[3]) == unboundedComponent &&
                        (c[0] | c[1] | c[2] | c[3]) == unboundedComponent);
}

int JavaVersion::compare(const JavaVersion& a, const JavaVersion& b) {
    for (size_t i = 0; i < a.components.size(); ++i) {
        if (a.components[i] != b.components[i])
            return a.components[i] < b.components[i] ? -1 : 1;
    }
    return 0;
}

bool JavaVersion::matchesPrefix(const JavaVersion& candidate, const JavaVersion& pattern) {
    if (candidate == pattern)
        return true;
    // An all-zero pattern (an empty entry in a list of preferred versions) asks for nothing
    // in particular. Were all four zeros wildcards it would pick the first runtime and shut
    // out the entries after it, so it matches only 0.0.0.0 itself, handled just above.
    if (pattern.isZero())
        return false;
    size_t significant = pattern.components.size();
    while (pattern.components[significant - 1] == 0)
        --significant;
    return std::equal(pattern.components.begin(),
                      pattern.components.begin() + static_cast<std::ptrdiff_t>(significant),
                      candidate.components.begin());
}

JavaVersion JavaVersion::fromText(const std::wstring& text, int32_t fill) {
    JavaVersion version;
    (void)version.parse(text, fill);
    return version;
}

BoundsCheck checkBounds(const JavaVersion& version, const JavaVersion& minimum,
                        const JavaVersion& maximum) {
    // The unbounded patterns mean "no limit", and the version-requirement message says so;
    // comparing against them would reject a runtime with a component beyond 65535 under
    // "any", and every runtime under an empty maximum, which reads as 0.0.0.0.
    if (!minimum.isUnbounded() && JavaVersion::compare(version, minimum) < 0)
        return BoundsCheck::belowMinimum;
    if (!maximum.isUnbounded() && JavaVersion::compare(version, maximum) > 0)
        return BoundsCheck::aboveMaximum;
    return BoundsCheck::within;
}

bool isWithinBounds(const JavaVersion& version, const JavaVersion& minimum,
                    const JavaVersion& maximum) {
    return checkBounds(version, minimum, maximum) == BoundsCheck::within;
}
