// A Java runtime version as four signed numbers: major, minor, micro and update.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct JavaVersion {
    // The upper bound that admits every version has all four components at this value.
    static constexpr int32_t unboundedComponent = 0xFFFF;

    std::array<int32_t, 4> components{};

    // Reads up to four runs of digits; components not read get the fill value. On failure
    // (no digit, or a run beyond int32) the value is 0.0.0.0 and the fill is not applied.
    [[nodiscard]] bool parse(const std::wstring& text, int32_t fill);

    // Dotted text for messages; both unbounded patterns print as "0.0.0.0".
    std::wstring toString() const;

    // True for 0.0.0.0 and for 65535.65535.65535.65535.
    bool isUnbounded() const;

    bool isZero() const;

    // -1, 0 or 1, comparing the components in order as signed numbers.
    static int compare(const JavaVersion& a, const JavaVersion& b);

    // Whether candidate is what pattern asks for: the pattern's trailing zero components
    // are wildcards.
    static bool matchesPrefix(const JavaVersion& candidate, const JavaVersion& pattern);

    // The parsed value, whatever the parse reported (a failed parse is 0.0.0.0).
    static JavaVersion fromText(const std::wstring& text, int32_t fill);

    friend bool operator==(const JavaVersion& a, const JavaVersion& b) = default;
    friend bool operator<(const JavaVersion& a, const JavaVersion& b) { return compare(a, b) < 0; }
    friend bool operator>(const JavaVersion& a, const JavaVersion& b) { return compare(a, b) > 0; }
    friend bool operator<=(const JavaVersion& a, const JavaVersion& b) {
        return compare(a, b) <= 0;
    }
    friend bool operator>=(const JavaVersion& a, const JavaVersion& b) {
        return compare(a, b) >= 0;
    }
};

enum class BoundsCheck { within, belowMinimum, aboveMaximum };

// Where version lies against the bounds, both ends inclusive. An unbounded bound, the
// all-zero value of an empty setting included, limits nothing.
BoundsCheck checkBounds(const JavaVersion& version, const JavaVersion& minimum,
                        const JavaVersion& maximum);

// Whether checkBounds finds the version within the bounds.
bool isWithinBounds(const JavaVersion& version, const JavaVersion& minimum,
                    const JavaVersion& maximum);
