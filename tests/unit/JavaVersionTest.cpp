// Java version numbers: parsing, printing, ordering, prefix patterns and bounds.
#include "runtime/JavaVersion.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t open = JavaVersion::unboundedComponent;

JavaVersion v(int32_t a, int32_t b, int32_t c, int32_t d) {
    return JavaVersion{{a, b, c, d}};
}

JavaVersion minimumOf(const wchar_t* text) {
    return JavaVersion::fromText(text, 0);
}
JavaVersion maximumOf(const wchar_t* text) {
    return JavaVersion::fromText(text, open);
}

TEST(JavaVersion, Parse) {
    struct Row {
        const wchar_t* text;
        int32_t fill;
        bool parsed;
        JavaVersion expected;
    };
    const Row rows[] = {
        {L"1.7.0_45", 0, true, v(1, 7, 0, 45)},
        {L"1.8.0_202-b08", 0, true, v(1, 8, 0, 202)},
        {L"jdk1.6.0_20", 0, true, v(1, 6, 0, 20)},
        {L"jre1.6", 0, true, v(1, 6, 0, 0)},
        {L"9", 0, true, v(9, 0, 0, 0)},
        {L"1.6", open, true, v(1, 6, open, open)},
        {L"1.6.0.20.7.8", open, true, v(1, 6, 0, 20)},
        {L"1..--__6  x", 0, true, v(1, 6, 0, 0)},
        {L"010.007", 0, true, v(10, 7, 0, 0)},
        {L"2147483647.0000000000000000000001", 0, true, v(2147483647, 1, 0, 0)},
        // Failures leave 0.0.0.0 and never apply the fill.
        {L"", open, false, v(0, 0, 0, 0)},
        {L"latest", open, false, v(0, 0, 0, 0)},
        {L"12345678901", 0, false, v(0, 0, 0, 0)},
        {L"2147483648", open, false, v(0, 0, 0, 0)},
        {L"1.6.0.99999999999", open, false, v(0, 0, 0, 0)},
        // Beyond the fourth run nothing is read, so an overflow there does not matter.
        {L"1.6.0.20.99999999999", 0, true, v(1, 6, 0, 20)},
        // Only ASCII digits count.
        {L"\x0661.\x0662", 0, false, v(0, 0, 0, 0)},
    };
    for (const Row& row : rows) {
        JavaVersion version = v(5, 5, 5, 5);
        EXPECT_EQ(version.parse(row.text, row.fill), row.parsed) << row.text;
        EXPECT_EQ(version, row.expected) << row.text;
    }
}

TEST(JavaVersion, ToString) {
    struct Row {
        JavaVersion version;
        const wchar_t* expected;
    };
    const Row rows[] = {
        {v(1, 7, 0, 45), L"1.7.0.45"},
        {v(1, 6, 0, 0), L"1.6"},
        {v(1, 0, 0, 0), L"1.0"},
        {v(9, 0, 0, 0), L"9.0"},
        {v(1, 6, open, open), L"1.6"},
        {v(10, open, open, open), L"10.65535"},
        {v(1, open, 0, 3), L"1.65535.0.3"},
        {v(1, 6, 2, 0), L"1.6.2"},
        {v(0, 0, 0, 0), L"0.0.0.0"},
        {v(open, open, open, open), L"0.0.0.0"},
        {v(0, 0, open, 0), L"0.0.0.0"},
        {v(0, 0, 0, 3), L"0.0.0.3"},
        {v(-1, 2, 0, 0), L"-1.2"},
        {v(2147483647, 0, 0, 0), L"2147483647.0"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.version.toString(), row.expected) << row.expected;
}

TEST(JavaVersion, CompareIsNumericAndLexicographic) {
    struct Row {
        JavaVersion a, b;
        int expected;
    };
    const Row rows[] = {
        {v(1, 6, 0, 20), v(1, 6, 1, 0), -1},
        {v(1, 10, 0, 0), v(1, 9, 0, 0), 1},
        {v(1, 6, 0, 20), v(1, 6, 0, 20), 0},
        {v(2, 0, 0, 0), v(1, 99, 99, 99), 1},
        {v(1, 6, 0, 20), v(1, 6, 0, 21), -1},
        {v(-1, 0, 0, 0), v(0, 0, 0, 0), -1},
        {v(2147483647, 0, 0, 0), v(-2147483647 - 1, 0, 0, 0), 1},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(JavaVersion::compare(row.a, row.b), row.expected) << row.a.toString();
        EXPECT_EQ(JavaVersion::compare(row.b, row.a), -row.expected) << row.a.toString();
    }
    EXPECT_LT(v(1, 9, 0, 0), v(1, 10, 0, 0));
    EXPECT_GE(v(1, 9, 0, 0), v(1, 9, 0, 0));
}

TEST(JavaVersion, MatchesPrefix) {
    struct Row {
        JavaVersion candidate, pattern;
        bool matches;
    };
    const Row rows[] = {
        {v(1, 6, 0, 45), v(1, 6, 0, 0), true},
        {v(1, 6, 1, 0), v(1, 6, 0, 0), true},
        {v(1, 7, 0, 0), v(1, 6, 0, 0), false},
        {v(1, 6, 0, 20), v(1, 6, 0, 20), true},
        {v(1, 6, 0, 21), v(1, 6, 0, 20), false},
        {v(1, 8, 0, 202), v(1, 0, 0, 0), true},
        {v(2, 0, 0, 0), v(1, 0, 0, 0), false},
        // Only trailing zeros are wildcards; an inner zero must match.
        {v(1, 6, 1, 20), v(1, 6, 0, 20), false},
        // The all-zero pattern of an empty entry is no wildcard.
        {v(1, 8, 0, 0), v(0, 0, 0, 0), false},
        {v(0, 0, 0, 0), v(0, 0, 0, 0), true},
        {v(0, 5, 0, 0), v(0, 5, 0, 0), true},
        {v(0, 5, 1, 0), v(0, 5, 0, 0), true},
        {v(1, 5, 1, 0), v(0, 5, 0, 0), false},
        {v(0, 0, 0, 9), v(0, 0, 0, 9), true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(JavaVersion::matchesPrefix(row.candidate, row.pattern), row.matches)
            << row.candidate.toString() << " against " << row.pattern.toString();
}

TEST(JavaVersion, IsUnboundedOnlyForTheTwoWholePatterns) {
    EXPECT_TRUE(v(0, 0, 0, 0).isUnbounded());
    EXPECT_TRUE(v(open, open, open, open).isUnbounded());
    EXPECT_FALSE(v(1, open, open, open).isUnbounded());
    EXPECT_FALSE(v(0, 0, 0, 1).isUnbounded());
    EXPECT_FALSE(v(open, open, open, 0).isUnbounded());
}

TEST(JavaVersion, Bounds) {
    struct Row {
        JavaVersion version, minimum, maximum;
        bool within;
    };
    const JavaVersion any = v(open, open, open, open);
    const JavaVersion none = v(0, 0, 0, 0);
    const Row rows[] = {
        {v(1, 6, 0, 45), none, maximumOf(L"1.6"), true},
        {v(1, 7, 0, 0), none, maximumOf(L"1.6"), false},
        {v(1, 6, 0, 0), minimumOf(L"1.6"), any, true},
        {v(1, 5, 0, 22), minimumOf(L"1.6"), any, false},
        // Both ends are inclusive.
        {v(1, 6, 0, 20), v(1, 6, 0, 20), v(1, 6, 0, 20), true},
        {v(1, 6, 0, 21), v(1, 6, 0, 20), v(1, 6, 0, 20), false},
        {v(1, 6, 0, 19), v(1, 6, 0, 20), v(1, 6, 0, 20), false},
        // An empty maximum reads as 0.0.0.0 and limits nothing, like "any".
        {v(1, 8, 0, 0), none, none, true},
        {v(1, 8, 0, 0), minimumOf(L"1.7"), maximumOf(L""), true},
        {v(1, 6, 0, 0), minimumOf(L"1.7"), maximumOf(L""), false},
        // "any" admits versions with components beyond 65535 as well.
        {v(70000, 0, 0, 0), none, any, true},
        // A registry name without digits is 0.0.0.0 and still meets the minimum.
        {minimumOf(L"default"), minimumOf(L"1.6"), any, false},
        {minimumOf(L"default"), none, maximumOf(L"1.6"), true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(isWithinBounds(row.version, row.minimum, row.maximum), row.within)
            << row.version.toString() << " in " << row.minimum.toString() << " .. "
            << row.maximum.toString();
}

} // namespace
