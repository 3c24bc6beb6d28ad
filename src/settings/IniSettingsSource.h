// Settings in an INI file, read and written through the Windows profile functions.
#pragma once

#include "settings/SettingOrigin.h"
#include "settings/SettingsSource.h"

#include <optional>
#include <utility>

class IniSettingsSource : public SettingsSource {
public:
    // `origin` is what the launch trace calls the file: the settings file or the per-user one.
    explicit IniSettingsSource(const std::wstring& filePath,
                               SettingOrigin origin = SettingOrigin::file);

    void read(const std::wstring& section, const std::wstring& key, std::wstring& value) override;
    void listSections(std::vector<std::wstring>& names) override;
    int write(const std::wstring& section, const std::wstring& key,
              const std::wstring& value) override;
    void removeStore() override;

    // The path as the profile functions take it.
    const std::wstring& filePath() const { return filePath_; }

protected:
    // The file's own value, bypassing any layering a derived source adds.
    void readFile(const std::wstring& section, const std::wstring& key, std::wstring& value);

private:
    [[nodiscard]] bool mayHold(const std::wstring& section, const std::wstring& key);
    // The names the profile functions list: the file's sections, or the keys of a section.
    std::vector<std::wstring> listNames(const wchar_t* section) const;

    std::wstring filePath_;
    SettingOrigin origin_;
    // The file's sections, and the keys of each section read from, as listed at the first
    // read, until the source writes to the file. A source lives for the stage that reads
    // through it.
    std::optional<std::vector<std::wstring>> sections_;
    std::vector<std::pair<std::wstring, std::vector<std::wstring>>> keys_;
};
