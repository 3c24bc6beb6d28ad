// How the "Virtual Machine Parameters" line becomes VM options and the main thread's stack.
#include "javaopts/VmParameters.h"
#include "javaopts/MemorySizes.h"
#include "javaopts/SizeNumbers.h"
#include "javaopts/VmParameterText.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using Options = std::vector<std::wstring>;

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
constexpr std::uint64_t kTiB = std::uint64_t{1} << 40;
// An 8 GiB machine in a 64-bit process with 120 TiB of free address space.
const MemoryStatus kMachine{8 * kGiB, 120 * kTiB};

TEST(VmParameterText, SplitsAtUnquotedSpacesOnly) {
    struct Row {
        std::wstring text;
        Options expected;
    };
    const Row rows[] = {
        {L"", {}},
        {L"   ", {}},
        {L"  -Xmx1g   -Dx=1  ", {L"-Xmx1g", L"-Dx=1"}},
        {L"-Da=1\t-Db=2", {L"-Da=1\t-Db=2"}},
        {L"-Dname=\"a b\" -Xmx1g", {L"-Dname=\"a b\"", L"-Xmx1g"}},
        {L"\"-Dx=a b\"", {L"\"-Dx=a b\""}},
        // An unmatched quote protects nothing.
        {L"-Dx=\"a b -Dy=c", {L"-Dx=\"a", L"b", L"-Dy=c"}},
        // A doubled closing quote ends the stretch at its second quote.
        {L"-Dq=\"a b\"\" c", {L"-Dq=\"a b\"\"", L"c"}},
        {L"-Dq=\"a\"\"b c\"", {L"-Dq=\"a\"\"b", L"c\""}},
        {L"\"a b\"\"c d\" e", {L"\"a b\"\"c", L"d\"", L"e"}},
        {L"-Da=\"x y\"-Db=\"z w\" -Dc", {L"-Da=\"x y\"-Db=\"z w\"", L"-Dc"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(splitVmParameterText(row.text), row.expected) << row.text;
}

TEST(VmParameterText, RemovesQuotes) {
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"-Dapp.title=\"My App\"", L"-Dapp.title=My App"},
        {L"\"a\"\"", L"a\""},
        {L"\"a\"\"b\"", L"a\"b\""},
        {L"\"\"", L""},
        {L"\"\"\"\"", L"\"\""},
        {L"-Dx=\"a", L"-Dx=\"a"},
        {L"\"a\"b\"c\"", L"abc"},
        {L"x\"\"y", L"xy"},
    };
    for (const auto& [option, expected] : rows) {
        std::wstring text = option;
        removeQuotes(text);
        EXPECT_EQ(text, expected) << option;
    }
}

TEST(SizeNumbers, ReadsUpToTheUnitLetter) {
    const SizeNumbers read = readSizeNumbers(L"-Xmx25:512:1024P");
    EXPECT_EQ(read.start, 4u);
    EXPECT_EQ(read.numbers, (std::vector<std::uint64_t>{25, 512, 1024}));
    EXPECT_TRUE(readSizeNumbers(L"-XmxP").numbers.empty());
    EXPECT_EQ(readSizeNumbers(L"-XmxP").start, 5u);
    EXPECT_EQ(readSizeNumbers(L"5").numbers, std::vector<std::uint64_t>{0});
    EXPECT_EQ(readSizeNumbers(L"5", LastCharacter::Number).numbers, std::vector<std::uint64_t>{5});
}

TEST(SizeNumbers, OverflowIsHeldAtTheMaximumAndFlagged) {
    const SizeNumbers fits = readSizeNumbers(L"18446744073709551615", LastCharacter::Number);
    EXPECT_FALSE(fits.overflowed);
    EXPECT_EQ(fits.numbers.front(), std::numeric_limits<std::uint64_t>::max());
    const SizeNumbers beyond = readSizeNumbers(L"18446744073709551616:3", LastCharacter::Number);
    EXPECT_TRUE(beyond.overflowed);
    EXPECT_EQ(beyond.numbers,
              (std::vector<std::uint64_t>{std::numeric_limits<std::uint64_t>::max(), 3}));
}

TEST(MemorySizes, RewritesPercentages) {
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"-Xmx50P", L"-Xmx4194304K"},
        {L"-Xmx25:512:1024P", L"-Xmx1048576K"},
        // The minimum is applied after the maximum, so it wins.
        {L"-Xms1:2048:1024p", L"-Xms2097152K"},
        {L"-Xmx10:0:2048T", L"-Xmx2097152K"},
        {L"-Xmx10t", L"-Xmx12884901888K"},
        {L"-Xmx:512P", L"-Xmx524288K"},
        {L"-Xss50P", L"-Xss4194304K"},
        {L"-XmxP", L"-XmxP0K"},
        // Beyond 64 bits the size is held at the maximum, then limited like any other.
        {L"-Xmx99999999999999999999999P", L"-Xmx18446744073709551615K"},
        {L"-Xmx99999999999999999999999:0:1024P", L"-Xmx1048576K"},
        {L"-Xmx1:99999999999999999999P", L"-Xmx18446744073709551615K"},
        {L"-Xmx2048m", L"-Xmx2048m"},
        {L"-Xms1g", L"-Xms1g"},
        {L"-Xmx50%", L"-Xmx50%"},
        {L"-XMX50P", L"-XMX50P"},
        {L"-Xmn50P", L"-Xmn50P"},
    };
    for (const auto& [option, expected] : rows) {
        std::wstring text = option;
        rewritePercentageSize(text, kMachine);
        EXPECT_EQ(text, expected) << option;
    }
}

TEST(MemorySizes, BaseIsRoundedDownToKibibytes) {
    EXPECT_EQ(percentageSizeKib(L"-Xmx100P", MemoryStatus{2047, 0}), 1u);
    EXPECT_EQ(percentageSizeKib(L"-Xmx100T", MemoryStatus{0, 1023}), 0u);
}

TEST(MemorySizes, ParsesStackSizes) {
    const std::pair<std::wstring, std::uint64_t> rows[] = {
        {L"512k", 524288},
        {L"2m", 2097152},
        {L"1G", kGiB},
        {L"64K", 65536},
        {L"1048576", 1048576}, // bytes: the last digit counts
        {L"7", 7},
        {L"100x", 100},
        {L"", 0},
        {L"x", 0},
        {L"k512", 0},
        {L"1:2k", 0},
        {L"17179869184G", 0}, // 2^64 bytes: no stack that size
        {L"99999999999999999999", 0},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(parseStackSize(text), expected) << text;
}

TEST(VmParameters, ProcessesInOrderAndTakesTheLastStackSize) {
    struct Row {
        std::wstring text;
        Options expected;
        std::uint64_t stackSize;
    };
    const Row rows[] = {
        {L"-Dname=\"a b\" -Xmx1g", {L"-Dname=a b", L"-Xmx1g"}, 42},
        {L"-Xss1m -Dx -Xss256k", {L"-Xss1m", L"-Dx", L"-Xss256k"}, 262144},
        {L"-Xss1m -Xssx", {L"-Xss1m", L"-Xssx"}, 0},
        {L"-Xss1048576", {L"-Xss1048576"}, 1048576},
        {L"-Xss50P", {L"-Xss4194304K"}, 4194304ull * 1024},
        {L"\"-Xss2m\"", {L"-Xss2m"}, 2097152},
        {L"-Xmx%HEAP%", {L"-Xmx%HEAP%"}, 42},
    };
    for (const Row& row : rows) {
        Options options{L"-Djava.class.path=a.jar;"};
        std::uint64_t stackSize = 42;
        splitVmParameters(row.text, kMachine, options, stackSize);
        Options expected{L"-Djava.class.path=a.jar;"};
        expected.insert(expected.end(), row.expected.begin(), row.expected.end());
        EXPECT_EQ(options, expected) << row.text;
        EXPECT_EQ(stackSize, row.stackSize) << row.text;
    }
}

} // namespace
