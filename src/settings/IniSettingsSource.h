// Settings in an INI file, read and written through the Windows profile functions.
#pragma once

#include "settings/SettingsSource.h"

#include <optional>

class IniSettingsSource : public SettingsSource {
public:
    explicit IniSettingsSource(std::wstring filePath) : filePath_(std::move(filePath)) {}

    void read(const std::wstring& section, const std::wstring& key, std::wstring& value) override;
    void listSections(std::vector<std::wstring>& names) override;
    int write(const std::wstring& section, const std::wstring& key,
              const std::wstring& value) override;
    void removeStore() override;

    const std::wstring& filePath() const { return filePath_; }

protected:
    // The file's own value, bypassing any layering a derived source adds.
    void readFile(const std::wstring& section, const std::wstring& key, std::wstring& value);

private:
    [[nodiscard]] bool mayHoldSection(const std::wstring& section);

    std::wstring filePath_;
    // The file's sections as listed at the first read, until the source writes to the file. A
    // source lives for the stage that reads through it.
    std::optional<std::vector<std::wstring>> sections_;
};
