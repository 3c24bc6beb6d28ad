#include "runtime/CandidateOrder.h"

#include <algorithm>

void orderCandidates(std::vector<JreCandidate>& candidates,
                     const CandidateOrderSettings& settings) {
    const bool byFavored = settings.otherSourceAllowed;
    const bool byServer = settings.jvmType == 2;
    const auto before = [&](std::size_t first, std::size_t second) {
        const JreCandidate& a = candidates[first];
        const JreCandidate& b = candidates[second];
        if (byFavored && a.favored != b.favored)
            return a.favored;
        if (byServer && a.isServerJvm != b.isServerJvm)
            return a.isServerJvm;
        return JavaVersion::compare(a.version, b.version) > 0;
    };
    // Stable, so that equal candidates keep the family order and then the registry's
    // enumeration order in which they were collected. A merge sort of positions, bottom up:
    // std::stable_sort on the candidates brought some 3 KB of template code into the launcher,
    // and an insertion sort would be quadratic in a registry that lists thousands of runtimes.
    const std::size_t count = candidates.size();
    std::vector<std::size_t> order(count);
    std::vector<std::size_t> merged(count);
    for (std::size_t i = 0; i < count; ++i)
        order[i] = i;
    for (std::size_t width = 1; width < count; width *= 2) {
        for (std::size_t low = 0; low < count; low += 2 * width) {
            const std::size_t middle = std::min(low + width, count);
            const std::size_t high = std::min(middle + width, count);
            std::size_t left = low;
            std::size_t right = middle;
            // The right run's candidate goes first only when strictly better: ties stay in order.
            for (std::size_t out = low; out < high; ++out)
                merged[out] = right < high && (left == middle || before(order[right], order[left]))
                                  ? order[right++]
                                  : order[left++];
        }
        order.swap(merged);
    }
    std::vector<JreCandidate> ordered;
    ordered.reserve(count);
    for (std::size_t position : order)
        ordered.push_back(std::move(candidates[position]));
    candidates.swap(ordered);
}

CandidatePick pickCandidate(const std::vector<JreCandidate>& ordered,
                            const std::vector<std::wstring>& preferredVersions) {
    if (ordered.empty())
        return {};
    // Preferred versions are tried in the order written: an earlier entry wins even when a
    // later one would match a newer or favoured runtime.
    for (const std::wstring& entry : preferredVersions) {
        const JavaVersion pattern = JavaVersion::fromText(entry, 0);
        // A range-for rather than std::find_if, whose search is unrolled four times over.
        for (const JreCandidate& candidate : ordered)
            if (JavaVersion::matchesPrefix(candidate.version, pattern))
                return {&candidate, &entry};
    }
    return {&ordered.front(), nullptr};
}

const JreCandidate* chooseCandidate(const std::vector<JreCandidate>& ordered,
                                    const std::vector<std::wstring>& preferredVersions) {
    return pickCandidate(ordered, preferredVersions).chosen;
}
