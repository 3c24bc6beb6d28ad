// How long the class path takes over real folders of 100 and 1,000 jars (FindFirstFileW and
// all). Prints the figures rather than asserting a time; scripts/bench.sh runs it.
#include "TestFiles.h"
#include "javaopts/JavaOptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

TEST(ClassPathBenchmark, DISABLED_RealFoldersOfJars) {
    for (const int count : {100, 1000}) {
        TempFolder folder;
        createFolders(folder.file(L"lib"));
        for (int i = 0; i < count; ++i)
            writeBytesFile(folder.file(L"lib\\module-" + std::to_wstring(i) + L".jar"), "PK");
        const std::wstring executable = folder.file(L"app.exe");

        std::vector<double> times;
        size_t length = 0;
        for (int round = 0; round < 11; ++round) {
            LARGE_INTEGER frequency, start, end;
            QueryPerformanceFrequency(&frequency);
            QueryPerformanceCounter(&start);
            length = buildClassPath(L"\\lib\\*.jar", executable, false).size();
            QueryPerformanceCounter(&end);
            times.push_back(1e6 * static_cast<double>(end.QuadPart - start.QuadPart) /
                            static_cast<double>(frequency.QuadPart));
        }
        std::nth_element(times.begin(), times.begin() + 5, times.end());
        std::printf("class path over a folder of %4d jars: %.0f us (%.2f us per jar)\n", count,
                    times[5], times[5] / count);
        EXPECT_GT(length, static_cast<size_t>(count) * 10);
    }
}

} // namespace
