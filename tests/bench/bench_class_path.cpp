// Times building the class path of an application whose lib folder holds 100, 1,000 and 10,000
// jars, with a file search that answers from memory (so only the launcher's own work is timed).
// The time per jar should stay flat as the count grows: the build is linear.
#include "javaopts/ClassPathText.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> jarNames(size_t count) {
    std::vector<std::wstring> names;
    names.reserve(count);
    for (size_t i = 0; i < count; ++i)
        names.push_back(L"library-module-" + std::to_wstring(i) + L"-1.0.0.jar");
    return names;
}

double medianMicros(size_t count) {
    const std::vector<std::wstring> names = jarNames(count);
    const FileSearch search = [&names](const std::wstring&) { return names; };
    const EnvironmentLookup noVariables = [](const std::wstring&, std::wstring&) { return false; };
    const std::wstring folder = L"C:\\Program Files\\Example Application";

    constexpr int rounds = 21;
    std::vector<double> times;
    size_t checksum = 0;
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        const std::wstring classPath = classPathOption(
            assembleClassPath(L"\\lib\\*.jar;\\classes", folder, noVariables, search));
        times.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
        checksum += classPath.size();
    }
    std::nth_element(times.begin(), times.begin() + rounds / 2, times.end());
    if (checksum == 0)
        std::printf("empty class path\n");
    return times[rounds / 2];
}

} // namespace

int main() {
    double previousPerJar = 0;
    for (const size_t count : {100u, 1000u, 10000u}) {
        const double micros = medianMicros(count);
        const double perJar = micros * 1000.0 / static_cast<double>(count);
        std::printf("class path of %5zu jars: %9.1f us (%.1f ns per jar", count, micros, perJar);
        if (previousPerJar > 0)
            std::printf(", %.2fx the per-jar time of the previous size", perJar / previousPerJar);
        std::printf(")\n");
        previousPerJar = perJar;
    }
    return 0;
}
