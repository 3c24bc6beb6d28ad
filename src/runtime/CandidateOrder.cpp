#include "runtime/CandidateOrder.h"

#include <algorithm>

void orderCandidates(std::vector<JreCandidate>& candidates,
                     const CandidateOrderSettings& settings) {
    const bool byFavored = settings.otherSourceAllowed;
    const bool byServer = settings.jvmType == 2;
    // Stable, so that equal candidates keep the family order and then the registry's
    // enumeration order in which they were collected.
    std::stable_sort(candidates.begin(), candidates.end(),
                     [byFavored, byServer](const JreCandidate& a, const JreCandidate& b) {
                         if (byFavored && a.favored != b.favored)
                             return a.favored;
                         if (byServer && a.isServerJvm != b.isServerJvm)
                             return a.isServerJvm;
                         return JavaVersion::compare(a.version, b.version) > 0;
                     });
}

CandidatePick pickCandidate(const std::vector<JreCandidate>& ordered,
                            const std::vector<std::wstring>& preferredVersions) {
    if (ordered.empty())
        return {};
    // Preferred versions are tried in the order written: an earlier entry wins even when a
    // later one would match a newer or favoured runtime.
    for (const std::wstring& entry : preferredVersions) {
        const JavaVersion pattern = JavaVersion::fromText(entry, 0);
        const auto match = std::find_if(ordered.begin(), ordered.end(), [&](const JreCandidate& c) {
            return JavaVersion::matchesPrefix(c.version, pattern);
        });
        if (match != ordered.end())
            return {&*match, &entry};
    }
    return {&ordered.front(), nullptr};
}

const JreCandidate* chooseCandidate(const std::vector<JreCandidate>& ordered,
                                    const std::vector<std::wstring>& preferredVersions) {
    return pickCandidate(ordered, preferredVersions).chosen;
}
