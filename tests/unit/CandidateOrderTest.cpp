// Ordering installed runtimes and choosing one, including preferred versions.
#include "runtime/CandidateOrder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Homes = std::vector<std::wstring>;

// The home folder doubles as the candidate's name in expectations.
JreCandidate candidate(const wchar_t* home, const wchar_t* version, bool favored = true,
                       bool server = false) {
    return JreCandidate{JavaVersion::fromText(version, 0), home, server, favored};
}

Homes homesOf(const std::vector<JreCandidate>& candidates) {
    Homes homes;
    for (const JreCandidate& c : candidates)
        homes.push_back(c.homeFolder);
    return homes;
}

std::wstring chosen(std::vector<JreCandidate> candidates, const CandidateOrderSettings& settings,
                    const std::vector<std::wstring>& preferred) {
    orderCandidates(candidates, settings);
    const JreCandidate* choice = chooseCandidate(candidates, preferred);
    return choice ? choice->homeFolder : L"(none)";
}

constexpr CandidateOrderSettings defaults{};
constexpr CandidateOrderSettings favorServer{true, 2};
constexpr CandidateOrderSettings serverRequired{true, 1};
constexpr CandidateOrderSettings onlyOneSource{false, 0};

TEST(CandidateOrder, Ordering) {
    struct Row {
        const char* name;
        CandidateOrderSettings settings;
        std::vector<JreCandidate> collected;
        Homes expected;
    };
    const Row rows[] = {
        {"newest first",
         defaults,
         {candidate(L"a", L"1.6.0_20"), candidate(L"b", L"1.7.0_45"), candidate(L"c", L"1.10")},
         {L"c", L"b", L"a"}},
        {"favoured before newer",
         defaults,
         {candidate(L"sun", L"1.7", false), candidate(L"ibm", L"1.6", true)},
         {L"ibm", L"sun"}},
        {"only one source ignores the favoured flag",
         onlyOneSource,
         {candidate(L"old", L"1.6", true), candidate(L"new", L"1.7", false)},
         {L"new", L"old"}},
        {"favor_server puts any server JVM before every client JVM",
         favorServer,
         {candidate(L"jre17", L"1.7", true, false), candidate(L"jdk16", L"1.6", true, true),
          candidate(L"jre18", L"1.8", true, false), candidate(L"jdk15", L"1.5", true, true)},
         {L"jdk16", L"jdk15", L"jre18", L"jre17"}},
        {"favoured outranks server",
         favorServer,
         {candidate(L"server", L"1.8", false, true), candidate(L"client", L"1.6", true, false)},
         {L"client", L"server"}},
        {"server flag orders nothing unless favoured by the settings",
         serverRequired,
         {candidate(L"server", L"1.6", true, true), candidate(L"client", L"1.7", true, false)},
         {L"client", L"server"}},
        {"only one source with favor_server: server, then version",
         {false, 2},
         {candidate(L"fav", L"1.8", true, false), candidate(L"srv", L"1.6", false, true)},
         {L"srv", L"fav"}},
        {"ties keep collection order",
         defaults,
         {candidate(L"jdk", L"1.6"), candidate(L"jre", L"1.6.0.0"), candidate(L"x", L"1.5"),
          candidate(L"ibm", L"1.6.0")},
         {L"jdk", L"jre", L"ibm", L"x"}},
        {"names without digits are 0.0.0.0 and come last",
         defaults,
         {candidate(L"odd", L"default"), candidate(L"real", L"1.4")},
         {L"real", L"odd"}},
    };
    for (const Row& row : rows) {
        std::vector<JreCandidate> candidates = row.collected;
        orderCandidates(candidates, row.settings);
        EXPECT_EQ(homesOf(candidates), row.expected) << row.name;
    }
}

TEST(CandidateOrder, ManyTiesKeepCollectionOrder) {
    // Enough candidates that an unstable sort would reorder ties.
    std::vector<JreCandidate> candidates;
    for (int i = 0; i < 60; ++i) {
        const std::wstring version = L"1." + std::to_wstring(i % 3);
        candidates.push_back(candidate(std::to_wstring(i).c_str(), version.c_str(), i % 2 == 0));
    }
    orderCandidates(candidates, onlyOneSource);
    Homes expected;
    for (int minor = 2; minor >= 0; --minor)
        for (int i = minor; i < 60; i += 3)
            expected.push_back(std::to_wstring(i));
    EXPECT_EQ(homesOf(candidates), expected);
}

TEST(CandidateOrder, AgreesWithAStableSortAtEverySize) {
    // Sizes around the powers of two, where the runs being merged end unevenly, and few
    // distinct keys, so that most comparisons are ties.
    unsigned seed = 7;
    const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (const CandidateOrderSettings settings : {defaults, favorServer, onlyOneSource}) {
        for (const int size : {0, 1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 33, 100, 257}) {
            std::vector<JreCandidate> candidates;
            for (int i = 0; i < size; ++i) {
                const std::wstring version = L"1." + std::to_wstring(next() % 4);
                candidates.push_back(candidate(std::to_wstring(i).c_str(), version.c_str(),
                                               next() % 2 == 0, next() % 3 == 0));
            }
            std::vector<JreCandidate> expected = candidates;
            std::stable_sort(expected.begin(), expected.end(),
                             [&](const JreCandidate& a, const JreCandidate& b) {
                                 if (settings.otherSourceAllowed && a.favored != b.favored)
                                     return a.favored;
                                 if (settings.jvmType == 2 && a.isServerJvm != b.isServerJvm)
                                     return a.isServerJvm;
                                 return JavaVersion::compare(a.version, b.version) > 0;
                             });
            orderCandidates(candidates, settings);
            EXPECT_EQ(homesOf(candidates), homesOf(expected)) << size << " candidates";
        }
    }
}

TEST(CandidateOrder, Choosing) {
    const std::vector<JreCandidate> twoSunRuntimes{candidate(L"16", L"1.6.0_20"),
                                                   candidate(L"17", L"1.7.0_45")};
    struct Row {
        const char* name;
        std::vector<JreCandidate> collected;
        std::vector<std::wstring> preferred;
        const wchar_t* expected;
    };
    const Row rows[] = {
        {"no preference takes the newest", twoSunRuntimes, {}, L"17"},
        {"a preferred version takes an older runtime", twoSunRuntimes, {L"1.6"}, L"16"},
        {"an entry that matches nothing is passed over", twoSunRuntimes, {L"1.5", L"1.7"}, L"17"},
        {"no entry matches: the first ordered", twoSunRuntimes, {L"1.5", L"9"}, L"17"},
        {"an earlier entry beats a later one for a newer runtime",
         twoSunRuntimes,
         {L"1.6", L"1.7"},
         L"16"},
        {"an empty entry neither matches nor stops the later ones",
         twoSunRuntimes,
         {L"1.5", L"", L"1.6"},
         L"16"},
        {"the pattern picks the best of the runtimes it matches",
         {candidate(L"1620", L"1.6.0_20"), candidate(L"1645", L"1.6.0_45"),
          candidate(L"17", L"1.7")},
         {L"1.6"},
         L"1645"},
        {"the pattern picks the favoured one among the runtimes it matches",
         {candidate(L"1645", L"1.6.0_45", false), candidate(L"1620", L"1.6.0_20", true),
          candidate(L"17", L"1.7", true)},
         {L"1.6"},
         L"1620"},
        {"a full version matches only itself", twoSunRuntimes, {L"1.7.0_44", L"1.6.0_20"}, L"16"},
        {"1.0 matches every major version 1",
         {candidate(L"9", L"9"), candidate(L"18", L"1.8.0_202")},
         {L"1.0"},
         L"18"},
        {"nothing to choose from", {}, {L"1.6"}, L"(none)"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(chosen(row.collected, defaults, row.preferred), row.expected) << row.name;
}

TEST(CandidateOrder, ChoosingAfterOrderingBySettings) {
    // An IBM 1.6 runtime favoured by "favor_ibm" wins over a newer Sun runtime.
    const std::vector<JreCandidate> favorIbm{candidate(L"sun17", L"1.7", false),
                                             candidate(L"ibm16", L"1.6", true)};
    EXPECT_EQ(chosen(favorIbm, defaults, {}), L"ibm16");
    // "favor_server": the JDK's server JVM wins over a newer JRE probed client-first.
    const std::vector<JreCandidate> kitAndRuntime{candidate(L"jdk16", L"1.6", true, true),
                                                  candidate(L"jre17", L"1.7", true, false)};
    EXPECT_EQ(chosen(kitAndRuntime, favorServer, {}), L"jdk16");
    EXPECT_EQ(chosen(kitAndRuntime, defaults, {}), L"jre17");
    // A preferred version still overrides the order.
    EXPECT_EQ(chosen(kitAndRuntime, favorServer, {L"1.7"}), L"jre17");
}

} // namespace
