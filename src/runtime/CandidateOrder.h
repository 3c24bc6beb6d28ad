// Ordering the installed runtimes and picking the one to load.
#pragma once

#include "runtime/JreCandidate.h"

#include <string>
#include <vector>

// The launch settings that decide the order.
struct CandidateOrderSettings {
    // Unset by "only_JDK" and "only_JRE": the favoured flag then orders nothing.
    bool otherSourceAllowed = true;
    // 0: no preference; 1: a server JVM is required; 2: a server JVM is favoured.
    int jvmType = 0;
};

// Best first: favoured (when another source is allowed), then server JVM (when favoured),
// then newer. Candidates that tie keep their collection order.
void orderCandidates(std::vector<JreCandidate>& candidates, const CandidateOrderSettings& settings);

struct CandidatePick {
    // nullptr only when there are no candidates.
    const JreCandidate* chosen = nullptr;
    // The "Preferred versions" entry that chose it; nullptr when none matched and the first
    // ordered candidate was taken.
    const std::wstring* preferredEntry = nullptr;
};

// The first ordered candidate matching the earliest preferred version that matches any,
// else the first ordered candidate.
CandidatePick pickCandidate(const std::vector<JreCandidate>& ordered,
                            const std::vector<std::wstring>& preferredVersions);

// The candidate pickCandidate chooses.
const JreCandidate* chooseCandidate(const std::vector<JreCandidate>& ordered,
                                    const std::vector<std::wstring>& preferredVersions);
