#include "settings/CombinedSettingsSource.h"
#include "settings/IniSettingsSource.h"
#include "settings/SectionNames.h"

#include <windows.h>

void IniSettingsSource::read(const std::wstring& section, const std::wstring& key,
                             std::wstring& value) {
    readFile(section, key, value);
}

// Every read through the profile functions opens the file again, and in a launch they add up:
// a few dozen reads, most of them of keys that are not there, many in sections the file does
// not have (such as the "+" sections of the combined read). The file's list of sections, read
// once, answers those reads without opening the file again.
bool IniSettingsSource::mayHoldSection(const std::wstring& section) {
    if (!sections_) {
        sections_.emplace();
        IniSettingsSource::listSections(*sections_);
    }
    return listedSectionsMayHold(*sections_, section);
}

void IniSettingsSource::readFile(const std::wstring& section, const std::wstring& key,
                                 std::wstring& value) {
    if (!mayHoldSection(section)) {
        value.clear();
        return;
    }
    // The profile function reports a cut value only by filling the buffer to size - 1, so the
    // buffer doubles until the value fits with room to spare.
    std::wstring buffer(256, L'\0');
    for (;;) {
        const DWORD length = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"",
                                                      buffer.data(),
                                                      static_cast<DWORD>(buffer.size()),
                                                      filePath_.c_str());
        if (length != buffer.size() - 1) {
            buffer.resize(length);
            value = std::move(buffer);
            return;
        }
        buffer.assign(buffer.size() * 2, L'\0');
    }
}

void IniSettingsSource::listSections(std::vector<std::wstring>& names) {
    std::wstring buffer(256, L'\0');
    DWORD length = 0;
    for (;;) {
        length = GetPrivateProfileSectionNamesW(buffer.data(), static_cast<DWORD>(buffer.size()),
                                                filePath_.c_str());
        if (length != buffer.size() - 2)
            break;
        buffer.assign(buffer.size() * 2, L'\0');
    }
    // Zero-separated names; an empty piece is skipped.
    size_t start = 0;
    while (start < length) {
        const size_t end = buffer.find(L'\0', start);
        const size_t stop = end == std::wstring::npos || end > length ? length : end;
        if (stop > start)
            names.push_back(buffer.substr(start, stop - start));
        start = stop + 1;
    }
}

int IniSettingsSource::write(const std::wstring& section, const std::wstring& key,
                             const std::wstring& value) {
    sections_.reset();
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(),
                                      filePath_.c_str());
}

void IniSettingsSource::removeStore() {
    sections_.reset();
    DeleteFileW(filePath_.c_str());
}

void CombinedSettingsSource::read(const std::wstring& section, const std::wstring& key,
                                  std::wstring& value) {
    std::wstring embedded;
    MemorySettingsSource::read(section, key, embedded);
    std::wstring fileValue;
    readFile(section, key, fileValue);
    std::wstring extension;
    if (fileValue.empty())
        readFile(section + L"+", key, extension);
    value = combineSettingValue(std::move(embedded), fileValue, extension);
}
