// One installed Java runtime found in the registry.
#pragma once

#include "runtime/JavaVersion.h"

#include <string>

struct JreCandidate {
    // The registry sub-key name parsed with fill 0; 0.0.0.0 when the name holds no digits.
    JavaVersion version;
    // Runtime home, always ending in "\" (for a development kit, its "jre\" folder).
    std::wstring homeFolder;
    // The JVM library the probe found is the server one.
    bool isServerJvm = false;
    // The candidate's kind (JDK or JRE) is wanted and its provider favoured.
    bool favored = false;
};
