// Splitting the process command line into the Java program's arguments.
#include "launcher/CommandLine.h"
#include "CommandLineCases.h"

#include <gtest/gtest.h>

namespace {

using Pieces = std::vector<std::wstring>;

TEST(CommandLine, ArgumentsAfterTheProgramName) {
    for (const CommandLineCase& row : commandLineCases()) {
        const std::wstring commandLine = std::wstring(L"prog.exe ") + row.afterProgram;
        EXPECT_EQ(argumentsFromCommandLine(commandLine), row.arguments) << commandLine;
    }
}

TEST(CommandLine, QuotedProgramPathWithBlanksIsOneElement) {
    EXPECT_EQ(argumentsFromCommandLine(L"\"C:\\Program Files\\App\\app.exe\" -x"), Pieces{L"-x"});
    EXPECT_EQ(argumentsFromCommandLine(L"\"C:\\Program Files\\App\\app.exe\""), Pieces{});
    EXPECT_EQ(argumentsFromCommandLine(L""), Pieces{});
}

TEST(CommandLine, WhiteSpaceAtBothEndsIsTrimmedBeforeSplitting) {
    // Without the trim a trailing tab would be a piece of its own, and a trailing blank
    // after a lone quote would be kept inside the quoted piece.
    EXPECT_EQ(argumentsFromCommandLine(L" \t\r\nprog a\t\r\n "), Pieces{L"a"});
    EXPECT_EQ(argumentsFromCommandLine(L"prog \"a b \t "), Pieces{L"a b"});
    EXPECT_EQ(argumentsFromCommandLine(L"\t \n"), Pieces{});
}

TEST(SplitArguments, AppendsAndIgnoresLeadingBlanks) {
    Pieces out{L"kept"};
    splitArguments(L"   one  \"two \"   ", out);
    EXPECT_EQ(out, (Pieces{L"kept", L"one", L"two "}));
    splitArguments(L"", out);
    splitArguments(L"    ", out);
    EXPECT_EQ(out.size(), 3u);
}

TEST(CommandLine, HasArgumentComparesWholeElementsExactly) {
    const Pieces arguments{L"-nosplashx", L"/nosplash", L"-NOSPLASH"};
    EXPECT_FALSE(hasArgument(arguments, L"-nosplash"));
    EXPECT_TRUE(hasArgument(arguments, L"/nosplash"));
    EXPECT_TRUE(hasArgument(arguments, L"-NOSPLASH"));
    EXPECT_FALSE(hasArgument(arguments, L"/NOSPLASH"));
    EXPECT_FALSE(hasArgument({}, L""));
    EXPECT_TRUE(hasArgument({L""}, L""));
}

} // namespace
