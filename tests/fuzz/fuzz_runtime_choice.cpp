// The runtime search from what installers left in the registry: sub-key names and value data
// of any content, the homes derived from them, and the order and choice among the candidates
// with any "Preferred versions" text.
#include "runtime/CandidateOrder.h"
#include "runtime/CurrentDistributions.h"
#include "runtime/RegistryText.h"
#include "runtime/RuntimeFamilies.h"
#include "settings/LaunchSettingsRules.h"

#include "FuzzCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

bool endsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Value data as the registry hands it back: any units, a NUL anywhere or nowhere.
void checkRegistryData(const uint8_t* data, size_t size) {
    std::vector<wchar_t> units(size / 2);
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<wchar_t>(data[2 * i] | data[2 * i + 1] << 8);
    const std::wstring text = textFromRegistryData(units.data(), units.size());
    check(text.size() <= units.size());
    check(text.find(L'\0') == std::wstring::npos);
    check(std::equal(text.begin(), text.end(), units.begin()));
    check(text.size() == units.size() || units[text.size()] == L'\0');
}

// A registered name and home, whatever they hold, give homes that end in a backslash and
// begin with the registered folder, and key paths below the name.
void checkRegistration(const std::wstring& name, const std::wstring& home) {
    for (const RuntimeFamily& family : runtimeFamilies()) {
        const std::wstring folder = homeFolderFromJavaHome(home, family);
        check(endsWith(folder, L"\\") && folder.compare(0, home.size(), home) == 0);
    }
    for (const std::wstring& folder : currentHomeFolders(home))
        check(endsWith(folder, L"\\") && folder.compare(0, home.size(), home) == 0);
    for (const CurrentFamily& family : currentFamilies()) {
        const RuntimeFamily rules = familyRulesOf(family, name);
        check(rules.provider == family.provider);
        if (family.kind)
            check(rules.kind == *family.kind);
        check(installationKeyPath(family, name).compare(0, name.size(), name) == 0);
    }
}

struct Ranked {
    JreCandidate candidate;
    size_t collected; // position in collection order
};

// Candidates from pieces of text "<flags><version text>" separated by "|"; after a "#", the
// "Preferred versions" text. The first byte picks the order settings.
void checkOrderAndChoice(const std::wstring& text, uint8_t settingsByte) {
    const size_t hash = text.find(L'#');
    const std::wstring list = text.substr(0, hash);
    const std::vector<std::wstring> preferred = hash == std::wstring::npos
                                                    ? std::vector<std::wstring>{}
                                                    : splitPreferredVersions(text.substr(hash + 1));
    // A few hundred candidates show every ordering rule; thousands would only slow the search.
    std::vector<JreCandidate> candidates;
    for (size_t start = 0; start <= list.size() && candidates.size() < 300;) {
        const size_t end = std::min(list.find(L'|', start), list.size());
        const std::wstring piece = list.substr(start, end - start);
        JreCandidate candidate;
        const wchar_t flags = piece.empty() ? 0 : piece.front();
        candidate.isServerJvm = flags & 1;
        candidate.favored = flags & 2;
        candidate.version = JavaVersion::fromText(piece.empty() ? piece : piece.substr(1), 0);
        candidate.homeFolder = std::to_wstring(candidates.size());
        candidates.push_back(candidate);
        start = end + 1;
    }

    const CandidateOrderSettings settings{(settingsByte & 1) != 0,
                                          static_cast<int>(settingsByte >> 1) % 4};
    std::vector<JreCandidate> ordered = candidates;
    orderCandidates(ordered, settings);

    // The same candidates, each once, best first by (favoured, server JVM, version), ties in
    // the order they were collected.
    check(ordered.size() == candidates.size());
    std::set<std::wstring> seen;
    for (const JreCandidate& candidate : ordered)
        check(seen.insert(candidate.homeFolder).second);
    const auto rank = [&settings](const JreCandidate& c) {
        return std::make_tuple(settings.otherSourceAllowed && c.favored,
                               settings.jvmType == 2 && c.isServerJvm);
    };
    for (size_t i = 1; i < ordered.size(); ++i) {
        const JreCandidate& a = ordered[i - 1];
        const JreCandidate& b = ordered[i];
        check(rank(a) >= rank(b));
        if (rank(a) != rank(b))
            continue;
        const int order = JavaVersion::compare(a.version, b.version);
        check(order >= 0);
        if (order == 0)
            check(std::stoul(a.homeFolder) < std::stoul(b.homeFolder));
    }

    // The choice: the first ordered candidate that the earliest matching preferred version
    // matches, else the first of all.
    const JreCandidate* chosen = chooseCandidate(ordered, preferred);
    if (ordered.empty()) {
        check(chosen == nullptr);
        return;
    }
    check(chosen >= ordered.data() && chosen < ordered.data() + ordered.size());
    for (const std::wstring& entry : preferred) {
        const JavaVersion pattern = JavaVersion::fromText(entry, 0);
        const auto match = std::find_if(ordered.begin(), ordered.end(), [&](const JreCandidate& c) {
            return JavaVersion::matchesPrefix(c.version, pattern);
        });
        if (match != ordered.end()) {
            check(chosen == &*match);
            return;
        }
    }
    check(chosen == &ordered.front());
}

void checkProbeOrder(int jvmType) {
    const std::vector<JvmLibraryLocation> order = jvmLibraryProbeOrder(jvmType);
    check(!order.empty());
    std::set<std::wstring> paths;
    for (const JvmLibraryLocation& location : order) {
        const std::wstring path = location.relativePath;
        check(paths.insert(path).second);
        check(path.compare(0, 4, L"bin\\") == 0 && endsWith(path, L"\\jvm.dll"));
        check(location.isServer == (path == L"bin\\server\\jvm.dll"));
    }
    // Only a required server JVM leaves nothing else to fall back on.
    check((order.size() == 1) == (jvmType == 1));
    check(paths.count(L"bin\\server\\jvm.dll") == 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    checkRegistryData(data, size);

    std::wstring text;
    for (size_t i = 0; i < size; ++i)
        text.push_back(static_cast<wchar_t>(data[i]));
    const size_t cut = text.find(L'\0');
    checkRegistration(text.substr(0, cut), cut == std::wstring::npos ? L"" : text.substr(cut + 1));

    if (size > 0)
        checkOrderAndChoice(text.substr(1), data[0]);

    int32_t jvmType = 0;
    for (size_t i = 0; i < std::min<size_t>(size, 4); ++i)
        jvmType = static_cast<int32_t>(static_cast<uint32_t>(jvmType) << 8 | data[i]);
    checkProbeOrder(jvmType);
    checkProbeOrder(static_cast<int>(size % 4));
    return 0;
}
