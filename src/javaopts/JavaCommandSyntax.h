// The java command's option syntax in "Virtual Machine Parameters": the options it takes with
// their value as the next word, which the VM accepts only as one word, and its own actions,
// which have no meaning inside the VM.
#pragma once

#include "javaopts/EnvironmentReferences.h"

#include <string>
#include <vector>

// An option the VM receives in another form than written: "--add-modules x" becomes
// "--add-modules=x", and a relative module path gains the executable's folder.
struct RewrittenOption {
    std::wstring written; // as written, the two words joined by a space
    std::wstring passed;
};

enum class OptionFault {
    None,
    MissingValue,   // the option needs a value and the line ends, or its "=" has nothing after it
    LauncherAction, // the java command's own action: a setting does it, or nothing here can
};

struct JavaCommandOptions {
    std::vector<std::wstring> options;
    std::vector<RewrittenOption> rewritten;
    OptionFault fault = OptionFault::None;
    std::wstring faultyOption;          // as written
    const wchar_t* settingInstead = {}; // the setting that does what the action asks, if any
};

// Turns the processed (unquoted, resized) options into the forms the VM takes, in order. On a
// fault the options are incomplete and must not reach the VM.
[[nodiscard]] JavaCommandOptions applyJavaCommandSyntax(const std::vector<std::wstring>& options,
                                                        const std::wstring& executableFolder,
                                                        const EnvironmentLookup& lookup);

// A ";" list of module folders and jars: each entry expanded, then glued behind the executable's
// folder when relative, as a class path entry is; empty entries are dropped.
[[nodiscard]] std::wstring resolveModulePath(const std::wstring& text,
                                             const std::wstring& executableFolder,
                                             const EnvironmentLookup& lookup);
