// How long a registry search takes over 1,000 registered runtimes, in the classic families and
// in today's distributions. Prints the time rather than asserting one (the machine and Wine set
// the pace); the choice itself is still checked.
#include "RegisteredRuntime.h"
#include "TestFiles.h"
#include "runtime/CurrentDistributions.h"
#include "runtime/RegistryRuntimes.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// The least the platform must do for a registry search: enumerate the family's sub-keys, read
// each one's "JavaHome", and search for its JVM library in the places the probe order names,
// in that order, until one is there (the probe is a directory search for the full path, so
// that a home with wildcards in it finds what a search finds). Answers the number of
// runtimes with a library.
int bareRegistrySearch(const std::wstring& familyKey, const std::vector<std::wstring>& places) {
    HKEY family = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, familyKey.c_str(), 0, KEY_READ | KEY_WOW64_64KEY,
                      &family) != ERROR_SUCCESS)
        return 0;
    int usable = 0;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(family, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        HKEY runtime = nullptr;
        if (RegOpenKeyExW(family, name, 0, KEY_READ | KEY_WOW64_64KEY, &runtime) != ERROR_SUCCESS)
            continue;
        wchar_t home[1024];
        DWORD size = sizeof home - sizeof(wchar_t);
        if (RegQueryValueExW(runtime, L"JavaHome", nullptr, nullptr, reinterpret_cast<BYTE*>(home),
                             &size) == ERROR_SUCCESS) {
            home[size / sizeof(wchar_t)] = L'\0';
            for (const std::wstring& place : places) {
                WIN32_FIND_DATAW found;
                HANDLE search = FindFirstFileW((std::wstring(home) + place).c_str(), &found);
                if (search != INVALID_HANDLE_VALUE) {
                    FindClose(search);
                    ++usable;
                    break;
                }
            }
        }
        RegCloseKey(runtime);
    }
    RegCloseKey(family);
    return usable;
}

// Selection over 10, 100 and 1,000 registered runtimes (the classic families, the default JVM
// type), beside the search that the platform needs for it alone.
TEST(RegistrySearchBenchmark, DISABLED_SelectionOverRegisteredRuntimes) {
    constexpr int folderCount = 10;
    TempFolder folder;
    std::vector<std::wstring> homes;
    for (int i = 0; i < folderCount; ++i)
        homes.push_back(makeRuntimeHome(folder.file(L"rt" + std::to_wstring(i)), {L"server"}));
    std::wstring familyKey = familyOf(Family::SunJre).key;
    familyKey.pop_back();
    std::vector<std::wstring> places;
    for (const JvmLibraryLocation& location : jvmLibraryProbeOrder(0))
        places.push_back(location.relativePath);

    RuntimeSearchSettings settings;
    settings.minVersion = JavaVersion{8197, 0, 0, 0};
    settings.maxVersion = JavaVersion{8197, 0xFFFF, 0xFFFF, 0xFFFF};
    settings.preferredVersions = {L"8197.1"}; // only the oldest: the pick walks the whole list

    std::printf("%6s %14s %14s %8s %12s\n", "runtimes", "selection", "platform", "ratio",
                "per runtime");
    Registrations<RegisteredRuntime> registered;
    for (const int count : {10, 100, 1000}) {
        while (static_cast<int>(registered.keys.size()) < count) {
            const int i = static_cast<int>(registered.keys.size());
            registered.keys.push_back(std::make_unique<RegisteredRuntime>(
                Family::SunJre, false, L"8197." + std::to_wstring(i + 1), homes[i % folderCount]));
            ASSERT_TRUE(registered.keys.back()->created());
        }
        std::vector<double> ours, bare;
        // Which goes first turns from round to round.
        for (int round = 0; round < 8; ++round) {
            for (int turn = 0; turn < 2; ++turn) {
                LARGE_INTEGER start, end;
                QueryPerformanceCounter(&start);
                if ((round + turn) % 2 == 0) {
                    const auto chosen = searchRegistry(false, settings);
                    QueryPerformanceCounter(&end);
                    ours.push_back(elapsedMs(start, end));
                    ASSERT_TRUE(chosen.has_value());
                    EXPECT_EQ(narrow(*chosen), narrow(homes[0]));
                } else {
                    const int usable = bareRegistrySearch(familyKey, places);
                    QueryPerformanceCounter(&end);
                    bare.push_back(elapsedMs(start, end));
                    EXPECT_GE(usable, count);
                }
            }
        }
        std::sort(ours.begin(), ours.end());
        std::sort(bare.begin(), bare.end());
        const double oursMs = ours[ours.size() / 2];
        const double bareMs = bare[bare.size() / 2];
        std::printf("%8d %11.1f ms %11.1f ms %8.2f %9.1f us\n", count, oursMs, bareMs,
                    oursMs / bareMs, 1000.0 * oursMs / count);
    }
}

} // namespace
