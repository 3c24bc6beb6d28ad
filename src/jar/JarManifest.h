// The main section of a jar's manifest (META-INF/MANIFEST.MF).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct ManifestAttribute {
    std::string name;   // as written; names are compared without regard to ASCII case
    std::wstring value; // decoded from UTF-8, continuation lines joined
};

// The attributes of the main section, which ends at the first blank line. False for a
// section the java command refuses too: a line without "Name: value", a name that is not
// made of letters, digits, "-" and "_" (at most 70), a continuation line with nothing to
// continue. A later attribute of the same name replaces the earlier one.
[[nodiscard]] bool readManifestMainSection(std::span<const std::uint8_t> manifest,
                                           std::vector<ManifestAttribute>& attributes);

// The value of the named attribute, or null when there is none.
[[nodiscard]] const std::wstring* manifestValue(const std::vector<ManifestAttribute>& attributes,
                                                std::string_view name);
