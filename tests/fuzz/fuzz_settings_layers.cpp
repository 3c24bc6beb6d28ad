// The settings layers from arbitrary bytes: the settings resource a launcher copy carries as it
// may have been damaged, the combined read of a key over the file's values, and the launch
// settings taken from whatever text a value holds.
#include "settings/EmbeddedSettingsText.h"
#include "settings/LaunchSettingsRules.h"
#include "settings/MemorySettingsSource.h"

#include "FuzzCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace {

std::wstring asciiLowered(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}

std::wstring asciiRaised(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    return text;
}

// A resource is taken only whole: an even number of bytes after the UTF-16LE mark. Anything
// else reads as no embedded settings at all, never as part of a text.
void checkResource(std::span<const std::uint8_t> resource) {
    const std::wstring text = decodeEmbeddedSettingsText(resource);
    const bool whole = resource.size() >= 2 && resource.size() % 2 == 0 && resource[0] == 0xFF &&
                       resource[1] == 0xFE;
    if (whole)
        check(encodeEmbeddedSettingsText(text) ==
              std::vector<std::uint8_t>(resource.begin(), resource.end()));
    else
        check(text.empty());

    // What the launcher reads from it: every pair of the first section of a name, first key
    // first, is what a read of that section and key returns.
    MemorySettingsSource source;
    source.load(text);
    std::set<std::wstring> names;
    for (const MemorySection& section : source.sections()) {
        if (!names.insert(section.name).second)
            continue; // a later section of a name is never read
        std::set<std::wstring> keys;
        for (const auto& [key, value] : section.pairs) {
            if (!keys.insert(key).second)
                continue;
            std::wstring read;
            source.read(section.name, key, read);
            check(read == value);
        }
    }
}

// Three values of one key: embedded, in the file's section, in the file's "+" section.
void checkCombinedRead(const std::wstring& embedded, const std::wstring& file,
                       const std::wstring& extension) {
    const std::wstring combined = combineSettingValue(embedded, file, extension);
    if (!file.empty()) {
        check(combined == file);
    } else if (extension.empty()) {
        check(combined == embedded);
    } else {
        // The embedded value, one space unless the extension brings its own, the extension.
        const size_t space = extension.front() == L' ' ? 0 : 1;
        check(combined.size() == embedded.size() + space + extension.size());
        check(combined.compare(0, embedded.size(), embedded) == 0);
        check(combined.compare(combined.size() - extension.size(), extension.size(), extension) ==
              0);
        if (space)
            check(combined[embedded.size()] == L' ');
    }
}

// The launch settings read from any value: the switches ignore ASCII case and nothing else,
// the lists keep every piece, class names keep their length.
void checkLaunchRules(const std::wstring& value) {
    const int jvmType = jvmTypeFromText(value);
    check(jvmType >= 0 && jvmType <= 2);
    const JvmSourceChoice source = jvmSourceFromText(value);
    // Only an unknown word selects neither kind, and then no other source either.
    if (!source.jdkWanted && !source.jreWanted)
        check(!source.otherSourceAllowed && !value.empty());

    const VmProviderChoice provider = vmProviderFromText(value);
    for (const std::wstring& spelling : {asciiLowered(value), asciiRaised(value)}) {
        const VmProviderChoice same = vmProviderFromText(spelling);
        check(same.jrockitAccepted == provider.jrockitAccepted &&
              same.jrockitFavored == provider.jrockitFavored &&
              same.sunAccepted == provider.sunAccepted && same.sunFavored == provider.sunFavored &&
              same.ibmAccepted == provider.ibmAccepted && same.ibmFavored == provider.ibmFavored);
        check(isYes(spelling) == isYes(value));
        check(equalsIgnoringAsciiCase(spelling, value) && equalsIgnoringAsciiCase(value, spelling));
    }
    // Whatever the text, a favoured provider is also an accepted one.
    check(!provider.sunFavored || provider.sunAccepted);
    check(!provider.jrockitFavored || provider.jrockitAccepted);
    check(!provider.ibmFavored || provider.ibmAccepted);

    // Joined again with ";", the pieces give the text without one trailing separator.
    const std::vector<std::wstring> versions = splitPreferredVersions(value);
    std::wstring joined;
    for (size_t i = 0; i < versions.size(); ++i) {
        check(versions[i].find(L';') == std::wstring::npos);
        joined += (i ? L";" : L"") + versions[i];
    }
    const bool trailing = !value.empty() && value.back() == L';';
    check(joined == (trailing ? value.substr(0, value.size() - 1) : value));

    const std::wstring className = toSlashClassName(value);
    check(className.size() == value.size());
    for (size_t i = 0; i < value.size(); ++i)
        check(className[i] == (value[i] == L'.' ? L'/' : value[i]));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    // The bytes as a resource, and behind the mark, so that texts are reached as often as
    // refusals.
    checkResource(bytes);
    std::vector<std::uint8_t> marked{0xFF, 0xFE};
    marked.insert(marked.end(), bytes.begin(), bytes.end());
    checkResource(marked);

    // One character per byte, cut at zero bytes into the values of one key.
    std::vector<std::wstring> values(1);
    for (const uint8_t byte : bytes) {
        if (byte == 0)
            values.emplace_back();
        else
            values.back().push_back(static_cast<wchar_t>(byte));
    }
    values.resize(std::max<size_t>(values.size(), 3));
    checkCombinedRead(values[0], values[1], values[2]);
    for (const std::wstring& value : values)
        checkLaunchRules(value);
    return 0;
}
