#include "OptionCheck.h"

#include <algorithm>
#include <array>

namespace testjvm {

namespace {

bool matches(std::wstring_view option, const std::wstring& pattern) {
    if (!pattern.empty() && pattern.back() == L'*')
        return option.starts_with(std::wstring_view(pattern).substr(0, pattern.size() - 1));
    return option == pattern;
}

bool anyMatch(std::wstring_view option, const std::vector<std::wstring>& patterns) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::wstring& pattern) { return matches(option, pattern); });
}

bool isDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// Digits with an optional unit letter: 512k, 2m, 1G, 1048576.
bool isMemorySize(std::wstring_view text) {
    if (text.empty())
        return false;
    if (std::wstring_view(L"kKmMgGtT").find(text.back()) != std::wstring_view::npos)
        text.remove_suffix(1);
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

constexpr std::array<const wchar_t*, 38> kExactOptions = {L"-Xint",
                                                          L"-Xmixed",
                                                          L"-Xcomp",
                                                          L"-Xbatch",
                                                          L"-Xrs",
                                                          L"-Xnoclassgc",
                                                          L"-Xincgc",
                                                          L"-Xnoincgc",
                                                          L"-Xdebug",
                                                          L"-Xfuture",
                                                          L"-Xdiag",
                                                          L"-Xcheck:jni",
                                                          L"-Xshare:auto",
                                                          L"-Xshare:on",
                                                          L"-Xshare:off",
                                                          L"-Xverify:none",
                                                          L"-Xverify:remote",
                                                          L"-Xverify:all",
                                                          L"-Xnoagent",
                                                          L"-Xlog",
                                                          L"-verbose",
                                                          L"-verbose:class",
                                                          L"-verbose:gc",
                                                          L"-verbose:jni",
                                                          L"-verbose:module",
                                                          L"-ea",
                                                          L"-da",
                                                          L"-esa",
                                                          L"-dsa",
                                                          L"-enableassertions",
                                                          L"-disableassertions",
                                                          L"-enablesystemassertions",
                                                          L"-disablesystemassertions",
                                                          L"-Xprof",
                                                          L"-Xconcurrentio",
                                                          L"exit",
                                                          L"abort",
                                                          L"vfprintf"};

constexpr std::array<const wchar_t*, 22> kPrefixOptions = {L"-Xbootclasspath:",
                                                           L"-Xbootclasspath/a:",
                                                           L"-Xbootclasspath/p:",
                                                           L"-Xrun",
                                                           L"-Xloggc:",
                                                           L"-Xlog:",
                                                           L"-ea:",
                                                           L"-da:",
                                                           L"-enableassertions:",
                                                           L"-disableassertions:",
                                                           L"-javaagent:",
                                                           L"-agentlib:",
                                                           L"-agentpath:",
                                                           L"--add-opens=",
                                                           L"--add-exports=",
                                                           L"--add-modules=",
                                                           L"--add-reads=",
                                                           L"--enable-native-access=",
                                                           L"--patch-module=",
                                                           L"--limit-modules=",
                                                           L"--module-path=",
                                                           L"--upgrade-module-path="};

// The -XX flags the runtime knows, a few that applications set; true for the +/- ones.
struct VmFlag {
    std::wstring_view name;
    bool boolean;
};

constexpr std::array<VmFlag, 12> kVmFlags = {{{L"UseG1GC", true},
                                              {L"UseParallelGC", true},
                                              {L"UseSerialGC", true},
                                              {L"UseZGC", true},
                                              {L"HeapDumpOnOutOfMemoryError", true},
                                              {L"UnlockExperimentalVMOptions", true},
                                              {L"ExitOnOutOfMemoryError", true},
                                              {L"MaxRAMPercentage", false},
                                              {L"InitialRAMPercentage", false},
                                              {L"MaxMetaspaceSize", false},
                                              {L"HeapDumpPath", false},
                                              {L"ErrorFile", false}}};

struct SizeOption {
    const wchar_t* prefix;
    const wchar_t* what;
};

constexpr SizeOption kSizeOptions[] = {
    {L"-Xmx", L"maximum heap size"},
    {L"-Xms", L"initial heap size"},
    {L"-Xmn", L"new generation size"},
    {L"-Xss", L"thread stack size"},
};

} // namespace

OptionCheck checkOption(std::wstring_view option, const Script& script) {
    const OptionCheck unrecognized{OptionVerdict::Unrecognized,
                                   L"Unrecognized option: " + std::wstring(option)};
    if (anyMatch(option, script.rejectedOptions))
        return unrecognized;
    if (anyMatch(option, script.acceptedOptions))
        return {};
    if (option.starts_with(L"-D"))
        return option.size() > 2 && option[2] != L'=' ? OptionCheck{} : unrecognized;
    for (const SizeOption& size : kSizeOptions) {
        if (!option.starts_with(size.prefix))
            continue;
        if (isMemorySize(option.substr(4)))
            return {};
        return {OptionVerdict::InvalidValue,
                std::wstring(L"Invalid ") + size.what + L": " + std::wstring(option)};
    }
    if (option.starts_with(L"-XX:")) {
        // As HotSpot: a flag it does not know is refused with JNI_EINVAL whether or not
        // unrecognized options are ignored, which concerns the other options only.
        const std::wstring_view flag = option.substr(4);
        const bool boolean = flag.size() > 1 && (flag[0] == L'+' || flag[0] == L'-');
        const std::wstring_view name =
            boolean ? flag.substr(1) : flag.substr(0, flag.find(L'='));
        const bool valued = !boolean && name.size() < flag.size();
        const bool known = std::any_of(kVmFlags.begin(), kVmFlags.end(), [&](const VmFlag& f) {
            return name == f.name && boolean == f.boolean;
        });
        if ((boolean || valued) && known)
            return {};
        return {OptionVerdict::InvalidValue,
                L"Unrecognized VM option '" + std::wstring(flag.substr(boolean ? 1 : 0)) + L"'"};
    }
    for (const wchar_t* exact : kExactOptions)
        if (option == exact)
            return {};
    for (const wchar_t* prefix : kPrefixOptions)
        if (option.starts_with(prefix))
            return {};
    return unrecognized;
}

} // namespace testjvm
