#include "launcher/DecimalText.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(DecimalText, Boundaries) {
    EXPECT_EQ(decimalText(uint64_t{0}), L"0");
    EXPECT_EQ(decimalText(uint64_t{10}), L"10");
    EXPECT_EQ(decimalText(std::numeric_limits<uint64_t>::max()), L"18446744073709551615");
    EXPECT_EQ(decimalText(int64_t{-1}), L"-1");
    EXPECT_EQ(decimalText(int64_t{65535}), L"65535");
    EXPECT_EQ(decimalText(std::numeric_limits<int64_t>::min()), L"-9223372036854775808");
    EXPECT_EQ(decimalText(std::numeric_limits<int64_t>::max()), L"9223372036854775807");
}

} // namespace
