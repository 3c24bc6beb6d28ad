#include "jvm/MessageFormat.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(MessageFormat, PlaceholdersInOrder) {
    EXPECT_EQ(formatMessage(L"Windows exception: %s (errno = %d).\n", {std::wstring(L"failed"), 126}),
              L"Windows exception: failed (errno = 126).\n");
    EXPECT_EQ(formatMessage(L"JNI exception: %s\nReason: %s.\n", {std::wstring(L"a"), std::wstring()}),
              L"JNI exception: a\nReason: .\n");
    EXPECT_EQ(formatMessage(L"version between %s and %s", {std::wstring(L"1.6"), std::wstring(L"1.8")}),
              L"version between 1.6 and 1.8");
}

TEST(MessageFormat, NumbersAndPercent) {
    EXPECT_EQ(formatMessage(L"%d %d %d", {0, -5, INT32_MIN}), L"0 -5 -2147483648");
    EXPECT_EQ(formatMessage(L"100%% %x %", {}), L"100% %x %");
}

TEST(MessageFormat, ArgumentsAreNotReinterpreted) {
    // A path with "%s" in it is inserted as it is, never formatted again.
    EXPECT_EQ(formatMessage(L"load %s (errno = %d)", {std::wstring(L"C:\\%s%d"), 2}),
              L"load C:\\%s%d (errno = 2)");
}

TEST(MessageFormat, MissingArgumentsGiveNothing) {
    EXPECT_EQ(formatMessage(L"[%s][%d]", {}), L"[][]");
}

} // namespace
