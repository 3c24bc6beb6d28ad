// How long the class path takes over real folders of 100, 1,000 and 10,000 jars, named one by
// one in the settings or found through \lib\*.jar, beside the file-system lookups it needs
// alone: one search per named jar, or one enumeration of the folder. The named jars are also
// written in other letter case than on disk, which the file system must resolve (up to 1,000
// of them). Prints the figures rather than asserting a time; scripts/bench.sh runs it.
#include "TestFiles.h"
#include "javaopts/JavaOptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double medianMicros(std::vector<double> times) {
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

template <typename Work> double timedMicros(int rounds, Work work) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        work();
        QueryPerformanceCounter(&end);
        times.push_back(1e6 * static_cast<double>(end.QuadPart - start.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
    }
    return medianMicros(times);
}

std::wstring jarName(int i) {
    return L"module-" + std::to_wstring(i) + L".jar";
}

// The lookups alone: what the file system does for a class path of these entries.
size_t searchEach(const std::wstring& folder, const std::vector<std::wstring>& names) {
    size_t found = 0;
    for (const std::wstring& name : names) {
        WIN32_FIND_DATAW data;
        HANDLE search = FindFirstFileW((folder + name).c_str(), &data);
        if (search != INVALID_HANDLE_VALUE) {
            ++found;
            FindClose(search);
        }
    }
    return found;
}

size_t enumerate(const std::wstring& pattern) {
    size_t found = 0;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do
        ++found;
    while (FindNextFileW(search, &data));
    FindClose(search);
    return found;
}

void printRow(int count, const char* how, double ours, double bare) {
    std::printf("%6d %-22s %11.0f us %11.0f us %7.2f %9.1f us\n", count, how, ours, bare,
                ours / bare, ours / count);
}

TEST(ClassPathBenchmark, DISABLED_RealFoldersOfJars) {
    std::printf("%6s %-22s %14s %14s %7s %12s\n", "jars", "class path", "launcher", "lookups",
                "ratio", "per jar");
    for (const int count : {100, 1000, 10000}) {
        const int rounds = count >= 10000 ? 5 : 11;
        TempFolder folder;
        createFolders(folder.file(L"lib"));
        std::vector<std::wstring> names, upperNames;
        std::wstring named, upperNamed;
        for (int i = 0; i < count; ++i) {
            writeBytesFile(folder.file(L"lib\\" + jarName(i)), "PK");
            names.push_back(jarName(i));
            std::wstring upper = jarName(i);
            std::transform(upper.begin(), upper.end(), upper.begin(), towupper);
            upperNames.push_back(upper);
            named += L"\\lib\\" + names.back() + L";";
            upperNamed += L"\\lib\\" + upper + L";";
        }
        const std::wstring executable = folder.file(L"app.exe");
        const std::wstring lib = folder.file(L"lib\\");

        size_t length = 0;
        printRow(
            count, "named one by one",
            timedMicros(rounds, [&] { length = buildClassPath(named, executable, false).size(); }),
            timedMicros(rounds, [&] { EXPECT_EQ(searchEach(lib, names), names.size()); }));
        EXPECT_GT(length, static_cast<size_t>(count) * 10);
        // Under Wine each such search reads the whole folder: 10,000 of them take minutes.
        if (count <= 1000) {
            printRow(
                count, "named, other case",
                timedMicros(rounds,
                            [&] { length = buildClassPath(upperNamed, executable, false).size(); }),
                timedMicros(rounds, [&] { EXPECT_EQ(searchEach(lib, upperNames), names.size()); }));
            EXPECT_GT(length, static_cast<size_t>(count) * 10);
        }
        printRow(count, "\\lib\\*.jar",
                 timedMicros(
                     rounds,
                     [&] { length = buildClassPath(L"\\lib\\*.jar", executable, false).size(); }),
                 timedMicros(rounds, [&] { EXPECT_EQ(enumerate(lib + L"*.jar"), names.size()); }));
        EXPECT_GT(length, static_cast<size_t>(count) * 10);
    }
}

} // namespace
