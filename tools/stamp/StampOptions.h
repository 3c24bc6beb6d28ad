// The stamping tool's command line.
#pragma once

#include "ManifestCodePage.h"
#include "Subsystem.h"
#include "VersionResource.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

struct StampOptions {
    bool help = false;
    bool show = false;
    bool removeSignature = false; // drop a code signature, which stamping would break
    std::wstring launcher;
    std::wstring out; // empty: stamp the launcher in place
    std::wstring icon;
    std::wstring settings;
    std::wstring executionLevel;
    std::optional<CodePage> codePage;
    // Version strings to set, by their resource names; an empty value removes the string.
    std::vector<std::pair<std::wstring, std::wstring>> versionStrings;
    // Set with the FileVersion and ProductVersion strings; an empty version text gives 0.0.0.0.
    std::optional<VersionNumber> fileVersion;
    std::optional<VersionNumber> productVersion;
    // Absent: the launcher keeps the subsystem it has (a windowed one as built).
    std::optional<Subsystem> subsystem;

    bool stampsVersion() const { return !versionStrings.empty(); }
    bool stampsAnything() const {
        return !icon.empty() || !settings.empty() || !executionLevel.empty() || stampsVersion() ||
               codePage || subsystem;
    }
    // Dropping a signature writes the launcher even when nothing is stamped.
    bool writesFile() const { return stampsAnything() || removeSignature; }
};

struct ParsedCommandLine {
    StampOptions options;
    std::wstring error; // empty when the command line is good
};

// Options take their value as the next argument or after "=" ("--icon app.ico" or
// "--icon=app.ico"); each may be given once.
[[nodiscard]] ParsedCommandLine parseStampCommandLine(const std::vector<std::wstring>& arguments);
