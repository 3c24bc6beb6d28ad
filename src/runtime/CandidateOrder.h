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

// The first ordered candidate matching the earliest preferred version that matches any,
// else the first ordered candidate; nullptr only when there are no candidates.
const JreCandidate* chooseCandidate(const std::vector<JreCandidate>& ordered,
                                    const std::vector<std::wstring>& preferredVersions);
