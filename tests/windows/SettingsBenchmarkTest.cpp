// How long the launch settings take to read from settings files of 1, 100 and 10,000 keys,
// beside the least the profile functions must do for them: one read of each key the launcher
// reads. Prints the figures rather than asserting a time; scripts/bench.sh runs it.
#include "TestFiles.h"
#include "launcher/Launcher.h"
#include "settings/SettingsKeys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

double medianMicros(std::vector<double> times) {
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

template <typename Work> std::vector<double> timed(int rounds, Work work) {
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
    return times;
}

// A settings file of `keyCount` keys: the main class, and further keys spread over the
// sections the launcher reads and sections of other programs, ahead of the launcher's keys.
std::wstring settingsText(int keyCount) {
    const wchar_t* sections[] = {L"Java Runtime Environment", L"Application", L"Other Tool",
                                 L"Class Path", L"More"};
    std::vector<std::wstring> bodies(std::size(sections));
    for (int i = 1; i < keyCount; ++i)
        bodies[static_cast<size_t>(i) % bodies.size()] +=
            L"Setting " + std::to_wstring(i) + L"=value " + std::to_wstring(i) + L"\r\n";
    bodies[0] += L"Main Class=com.example.App\r\n";
    std::wstring text;
    for (size_t i = 0; i < bodies.size(); ++i)
        if (!bodies[i].empty())
            text += L"[" + std::wstring(sections[i]) + L"]\r\n" + bodies[i];
    return text;
}

// The keys the launch settings read (Launcher::readLaunchSettingsFrom), once each.
std::vector<std::pair<const wchar_t*, const wchar_t*>> launchKeys() {
    using namespace settings;
    return {{productInformationSection, productCodeKey},
            {productInformationSection, upgradeCodeKey},
            {productInformationSection, productNameKey},
            {javaRuntimeSection, minimumVersionKey},
            {javaRuntimeSection, maximumVersionKey},
            {applicationSection, applicationTypeKey},
            {javaRuntimeSection, preferredVersionsKey},
            {javaRuntimeSection, jrePathKey},
            {javaRuntimeSection, jvmTypeKey},
            {javaRuntimeSection, jvmSourceKey},
            {javaRuntimeSection, vmProviderKey},
            {javaRuntimeSection, mainClassKey},
            {applicationSection, failureCheckKey},
            {applicationSection, overrideWorkingDirKey},
            {javaRuntimeSection, systemPathKey},
            {javaRuntimeSection, libraryPathKey},
            {applicationSection, pairProductKey},
            {applicationSection, pairReturnCodeKey}};
}

TEST(SettingsBenchmark, DISABLED_SettingsFilesOfManyKeys) {
    constexpr int kRounds = 21;
    std::printf("%6s %14s %14s %8s\n", "keys", "launcher", "profile reads", "ratio");
    for (const int count : {1, 100, 10000}) {
        TempFolder folder;
        const std::wstring path = folder.file(L"app.ini");
        writeUtf16File(path, settingsText(count));
        dateFileBack(path);

        const auto keys = launchKeys();
        std::wstring value(1024, L'\0');
        const auto bare = timed(kRounds, [&] {
            for (const auto& [section, key] : keys)
                GetPrivateProfileStringW(section, key, L"", value.data(),
                                         static_cast<DWORD>(value.size()), path.c_str());
        });
        const auto ours = timed(kRounds, [&] {
            Launcher launcher;
            EXPECT_TRUE(launcher.readLaunchSettingsFrom(path));
        });
        const double launcherMicros = medianMicros(ours);
        const double bareMicros = medianMicros(bare);
        std::printf("%6d %11.0f us %11.0f us %8.2f\n", count, launcherMicros, bareMicros,
                    launcherMicros / bareMicros);
    }
}

} // namespace
