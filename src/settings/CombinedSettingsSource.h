// The settings file laid over the settings text embedded in the executable.
#pragma once

#include "settings/IniSettingsSource.h"
#include "settings/MemorySettingsSource.h"

// Reads go through the combined rule whichever base they are called through; the other
// operations act on the file through the INI base and on the embedded layer through the
// memory base.
class CombinedSettingsSource : public IniSettingsSource, public MemorySettingsSource {
public:
    // Out of line: every settings stage builds one, and one copy of the code serves them all.
    [[gnu::noinline]] CombinedSettingsSource(std::wstring filePath,
                                             const std::wstring& embeddedText);

    void read(const std::wstring& section, const std::wstring& key, std::wstring& value) override;
    // Both bases offer value(); through either it is the combined read, so say it once here.
    std::wstring value(const std::wstring& section, const std::wstring& key) {
        std::wstring result;
        read(section, key, result);
        return result;
    }
    // For the many call sites that name a section and a key by their constants: the two
    // strings are built and freed here, once, rather than around every call.
    [[gnu::noinline]] std::wstring value(const wchar_t* section, const wchar_t* key) {
        return value(std::wstring(section), std::wstring(key));
    }
};
