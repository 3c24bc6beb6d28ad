// Manifests from arbitrary bytes: the attributes read have well-formed, distinct names and
// values without line ends, and the options derived from them are all for the unnamed module.
#include "jar/JarManifest.h"
#include "jar/ManifestLaunch.h"

#include "FuzzCheck.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

namespace {

char folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (folded(a[i]) != folded(b[i]))
            return false;
    return true;
}

bool endsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<ManifestAttribute> attributes;
    if (!readManifestMainSection(std::span<const uint8_t>(data, size), attributes))
        return 0;
    for (std::size_t i = 0; i < attributes.size(); ++i) {
        const ManifestAttribute& attribute = attributes[i];
        check(!attribute.name.empty() && attribute.name.size() <= 70);
        for (const char c : attribute.name)
            check((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                  c == '-' || c == '_');
        check(attribute.value.find_first_of(L"\r\n") == std::wstring::npos);
        for (std::size_t j = 0; j < i; ++j)
            check(!sameName(attributes[j].name, attribute.name));
        check(manifestValue(attributes, attribute.name) == &attribute.value);
    }
    const ManifestLaunch launch = manifestLaunch(attributes);
    check(launch.mainClass.find(L'.') == std::wstring::npos);
    check(manifestOptionsFor(launch, JavaVersion{}).count == launch.vmOptions.size());
    for (const std::wstring& option : launch.vmOptions) {
        check(option.rfind(L"--", 0) == 0 && endsWith(option, L"ALL-UNNAMED"));
        check(option.find_first_of(L" \t,") == std::wstring::npos);
    }
    return 0;
}
