// Settings held in memory, filled from a settings text (the layer an executable may embed).
#pragma once

#include "settings/SettingOrigin.h"
#include "settings/SettingsSource.h"

#include <utility>

struct MemorySection {
    std::wstring name;
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
};

class MemorySettingsSource : public SettingsSource {
public:
    void read(const std::wstring& section, const std::wstring& key, std::wstring& value) override;
    void listSections(std::vector<std::wstring>& names) override;
    int write(const std::wstring& section, const std::wstring& key,
              const std::wstring& value) override;
    void removeStore() override {}

    // Replaces the content with the sections of a settings text.
    void load(const std::wstring& text);

    const std::vector<MemorySection>& sections() const { return sections_; }

private:
    std::vector<MemorySection> sections_;
};

// The combined value of one key: a non-empty settings-file value replaces the embedded one;
// otherwise a non-empty value of the same key in the section "<name>+" extends it, separated
// by one space unless the extension already begins with one.
std::wstring combineSettingValue(std::wstring embeddedValue, const std::wstring& fileValue,
                                 const std::wstring& fileExtension);
// The same, telling where the value came from.
std::wstring combineSettingValue(std::wstring embeddedValue, const std::wstring& fileValue,
                                 const std::wstring& fileExtension, SettingOrigin& origin);

// A header line starts, after leading blanks and control characters, with "[" and ends, before
// trailing ones, with "]"; the name is everything between the first "[" and the last "]".
// Shared with the stamping tool, which checks a settings file by the rules the launcher reads.
bool parseSettingsSectionHeader(const std::wstring& line, std::wstring& name);
