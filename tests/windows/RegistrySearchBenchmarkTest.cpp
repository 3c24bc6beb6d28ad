// How long a registry search takes over 1,000 registered runtimes, in the classic families and
// in today's distributions. Prints the time rather than asserting one (the machine and Wine set
// the pace); the choice itself is still checked.
#include "RegisteredRuntime.h"
#include "TestFiles.h"
#include "runtime/CurrentDistributions.h"
#include "runtime/RegistryRuntimes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {

// Removed last first: the first registration may have created the family key, which it can
// only remove once every other sub-key is gone.
template <typename Key> struct Registrations {
    std::vector<std::unique_ptr<Key>> keys;
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

    Registrations<RegisteredRuntime> registered;
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

double elapsedMs(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Spread over the layouts that differ in how deep the home value lies, machine and user alike;
// measured at three sizes, so that the time per runtime shows whether the search stays linear.
TEST(RegistrySearchBenchmark, CurrentDistributionsAtGrowingCounts) {
    struct Layout {
        HKEY hive;
        const wchar_t* familyKey;
        const wchar_t* prefix;
        const wchar_t* below;
        const wchar_t* value;
    };
    const Layout layouts[] = {
        {HKEY_LOCAL_MACHINE, L"Software\\Eclipse Adoptium\\JDK", L"", L"\\hotspot\\MSI", L"Path"},
        {HKEY_LOCAL_MACHINE, L"Software\\JavaSoft\\JDK", L"", L"", L"JavaHome"},
        {HKEY_LOCAL_MACHINE, L"Software\\Azul Systems\\Zulu", L"zulu-", L"", L"InstallationPath"},
        {HKEY_CURRENT_USER, L"Software\\Microsoft\\JDK", L"", L"\\hotspot\\MSI", L"Path"},
    };
    constexpr int folderCount = 10;
    TempFolder folder;
    std::vector<std::wstring> homes;
    for (int i = 0; i < folderCount; ++i)
        homes.push_back(makeRuntimeHome(folder.file(L"jdk" + std::to_wstring(i)), {L"server"}));

    RuntimeSearchSettings settings;
    settings.minVersion = JavaVersion{8198, 0, 0, 0};
    settings.maxVersion = JavaVersion{8198, 0xFFFF, 0xFFFF, 0xFFFF};
    settings.preferredVersions = {L"8198.1"}; // only the oldest: the pick walks the whole list

    Registrations<RegisteredDistribution> registered;
    for (const int count : {250, 500, 1000}) {
        while (static_cast<int>(registered.keys.size()) < count) {
            const int i = static_cast<int>(registered.keys.size());
            const Layout& layout = layouts[i % std::size(layouts)];
            registered.keys.push_back(std::make_unique<RegisteredDistribution>(
                layout.hive, false, layout.familyKey,
                layout.prefix + (L"8198." + std::to_wstring(i + 1)), layout.below, layout.value,
                JavaHomeValue{homes[i % folderCount]}));
            ASSERT_TRUE(registered.keys.back()->created());
        }
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        const auto chosen = searchCurrentDistributions(false, settings);
        QueryPerformanceCounter(&end);
        const double ms = elapsedMs(start, end);
        std::printf("[ BENCH    ] current distributions, %4d registered runtimes: %7.1f ms, "
                    "%.1f us per runtime\n",
                    count, ms, 1000.0 * ms / count);
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(narrow(*chosen), narrow(homes[0]));
    }
}

} // namespace
