// The launcher's ends for the C++ library's failures (an index out of range, a length beyond
// what a string can hold, memory that cannot be allocated), driven in a probe built as the
// launcher is: each ends the process at once with a non-continuable exception of its own code,
// never with a C++ exception (which nothing in the launcher would catch) and never by returning.
#include "LaunchHarness.h"

#include <gtest/gtest.h>

namespace {

DWORD probeExit(const std::wstring& which) {
    const LaunchResult result =
        runProgram(testProgramFolder() + L"\\failfast_probe.exe", {.arguments = which});
    EXPECT_FALSE(result.timedOut) << narrow(which);
    EXPECT_TRUE(result.messageBoxes.empty()) << narrow(which);
    return result.exitCode;
}

TEST(FailFast, LibraryFailuresEndTheProcessWithANonContinuableException) {
    EXPECT_EQ(probeExit(L"index"), static_cast<DWORD>(STATUS_ARRAY_BOUNDS_EXCEEDED));
    EXPECT_EQ(probeExit(L"length"), static_cast<DWORD>(STATUS_INVALID_PARAMETER));
    EXPECT_EQ(probeExit(L"memory"), static_cast<DWORD>(STATUS_NO_MEMORY));
}

TEST(FailFast, TheNoThrowAllocationAnswersNullInstead) {
    EXPECT_EQ(probeExit(L"nothrow"), 0u);
}

} // namespace
