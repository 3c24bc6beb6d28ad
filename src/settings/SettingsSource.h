// Read access to launcher settings by (section, key).
#pragma once

#include <string>
#include <vector>

class SettingsSource {
public:
    virtual ~SettingsSource() = default;
    // Sets value to the stored text, or to the empty string when there is none: an absent and
    // an empty value are the same to every reader.
    virtual void read(const std::wstring& section, const std::wstring& key, std::wstring& value) = 0;
    virtual void listSections(std::vector<std::wstring>& names) = 0;
    // Non-zero on success.
    virtual int write(const std::wstring& section, const std::wstring& key,
                      const std::wstring& value) = 0;
    virtual void removeStore() = 0;

    // Convenience for readers: the value as a result.
    std::wstring value(const std::wstring& section, const std::wstring& key) {
        std::wstring result;
        read(section, key, result);
        return result;
    }
};
