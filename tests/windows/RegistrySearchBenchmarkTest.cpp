// How long a registry search takes over 1,000 registered runtimes. Prints the time rather than
// asserting one (the machine and Wine set the pace); the choice itself is still checked.
#include "RegisteredRuntime.h"
#include "TestFiles.h"
#include "runtime/RegistryRuntimes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {

// Removed last first: the first registration may have created the family key, which it can
// only remove once every other sub-key is gone.
struct Registrations {
    std::vector<std::unique_ptr<RegisteredRuntime>> keys;
    ~Registrations() {
        while (!keys.empty())
            keys.pop_back();
    }
};

TEST(RegistrySearchBenchmark, ThousandRegisteredRuntimes) {
    constexpr int runtimeCount = 1000;
    constexpr int folderCount = 10;
    TempFolder folder;
    std::vector<std::wstring> homes;
    for (int i = 0; i < folderCount; ++i)
        homes.push_back(makeRuntimeHome(folder.file(L"rt" + std::to_wstring(i)), {L"client"}));

    Registrations registered;
    for (int i = 0; i < runtimeCount; ++i) {
        registered.keys.push_back(std::make_unique<RegisteredRuntime>(
            Family::SunJre, false, L"8199." + std::to_wstring(i + 1), homes[i % folderCount]));
        ASSERT_TRUE(registered.keys.back()->created());
    }

    RuntimeSearchSettings settings;
    settings.minVersion = JavaVersion{8199, 0, 0, 0};
    settings.maxVersion = JavaVersion{8199, 0xFFFF, 0xFFFF, 0xFFFF};
    // A preferred version that matches only the oldest (8199.1, not 8199.10 and beyond): the
    // pick walks the whole ordered list.
    settings.preferredVersions = {L"8199.1"};

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const auto chosen = searchRegistry(false, settings);
    QueryPerformanceCounter(&end);

    const double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                      static_cast<double>(frequency.QuadPart);
    std::printf("[ BENCH    ] registry search over %d registered runtimes: %.1f ms\n", runtimeCount,
                ms);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(narrow(*chosen), narrow(homes[0]));

    settings.preferredVersions.clear();
    EXPECT_EQ(narrow(searchRegistry(false, settings).value_or(L"-")),
              narrow(homes[(runtimeCount - 1) % folderCount]));
}

} // namespace
