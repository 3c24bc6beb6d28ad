#include "runtime/MissingRuntimeMessage.h"

#include "jvm/MessageFormat.h"
#include "res/resource.h"

namespace {

// "JVM Type" "server": only a runtime with the server JVM will do.
constexpr int serverJvmRequired = 1;

// What is asked for, in words: an open bound is not mentioned at all.
std::wstring requirementPhrase(const JavaVersion& minimum, const JavaVersion& maximum,
                               StringLoader load) {
    const bool noMinimum = minimum.isUnbounded();
    const bool noMaximum = maximum.isUnbounded();
    if (noMinimum && noMaximum)
        return load(IDS_LATEST_VERSION);
    // Compared in all four components: 1.6 to 1.6 is a range (1.6.0.0 to 1.6.65535.65535),
    // even though both print alike.
    const unsigned phrase = noMinimum            ? IDS_MAXIMUM_VERSION
                            : noMaximum          ? IDS_MINIMUM_VERSION
                            : minimum == maximum ? IDS_VERSION_REQUIRED
                                                 : IDS_VERSION_BETWEEN;
    // One formatting call for all four: the phrases of one bound take the first version only
    // (the one that is given), the range takes both.
    return formatMessage(load(phrase),
                         {(noMinimum ? maximum : minimum).toString(), maximum.toString()});
}

} // namespace

std::wstring composeMissingRuntimeMessage(int jvmType, const JavaVersion& minimum,
                                          const JavaVersion& maximum, StringLoader load) {
    const unsigned sentence =
        jvmType == serverJvmRequired ? IDS_JRE_NOT_FOUND_SERVER : IDS_JRE_NOT_FOUND;
    return formatMessage(load(sentence), {requirementPhrase(minimum, maximum, load)});
}
