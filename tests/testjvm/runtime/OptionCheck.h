// Which VM options the test runtime takes, as a real VM does with ignoreUnrecognized false: the
// option families a VM knows are accepted, malformed sizes and unknown options are refused.
#pragma once

#include "Script.h"

#include <string>
#include <string_view>

namespace testjvm {

enum class OptionVerdict { Accepted, Unrecognized, InvalidValue };

struct OptionCheck {
    OptionVerdict verdict = OptionVerdict::Accepted;
    std::wstring message; // what the VM prints on standard error when it refuses the option
};

OptionCheck checkOption(std::wstring_view option, const Script& script);

} // namespace testjvm
