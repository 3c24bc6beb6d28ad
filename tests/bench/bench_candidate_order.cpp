// Times ordering and choosing over many registered runtimes, as a machine with a long
// history of installs (or a hostile registry) would present them.
#include "runtime/CandidateOrder.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<JreCandidate> makeCandidates(size_t count, std::mt19937& rng) {
    std::vector<JreCandidate> candidates;
    candidates.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const std::wstring name =
            L"1." + std::to_wstring(rng() % 12) + L".0_" + std::to_wstring(rng() % 400);
        candidates.push_back(JreCandidate{JavaVersion::fromText(name, 0),
                                          L"C:\\Java\\rt" + std::to_wstring(i) + L"\\",
                                          rng() % 2 == 0, rng() % 3 != 0});
    }
    return candidates;
}

void run(size_t count) {
    std::mt19937 rng(static_cast<unsigned>(count));
    const std::vector<JreCandidate> collected = makeCandidates(count, rng);
    // Entries that match nothing force a walk over every candidate before the last one hits.
    const std::vector<std::wstring> preferred{L"1.99", L"", L"2.5", L"1.3.0_999", L"1.6"};
    const CandidateOrderSettings settings{true, 2};

    constexpr int rounds = 20;
    std::chrono::nanoseconds total{0};
    size_t checksum = 0;
    for (int round = 0; round < rounds; ++round) {
        std::vector<JreCandidate> candidates = collected;
        const auto start = std::chrono::steady_clock::now();
        orderCandidates(candidates, settings);
        const JreCandidate* choice = chooseCandidate(candidates, preferred);
        total += std::chrono::steady_clock::now() - start;
        checksum += choice ? choice->homeFolder.size() : 0;
    }
    const double micros = std::chrono::duration<double, std::micro>(total).count() / rounds;
    std::printf("%zu candidates: order and choose %.1f us per run (checksum %zu)\n", count, micros,
                checksum);
}

} // namespace

int main() {
    run(1000);
    run(10000);
    return 0;
}
