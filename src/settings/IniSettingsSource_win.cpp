#include "settings/CombinedSettingsSource.h"
#include "settings/IniSettingsSource.h"
#include "settings/ProfileNames.h"

#include "launcher/LaunchTrace.h"
#include "launcher/PathForm.h"

#include <windows.h>

#include <algorithm>

// The profile functions keep the classic path limit even in a long-path-aware process, and
// they are not documented to take a \\?\ path: a settings file deeper than that is read
// through its short folder names. The file exists, or its folder does where it is written.
IniSettingsSource::IniSettingsSource(const std::wstring& filePath, SettingOrigin origin)
    : filePath_(pathForLimitedCall(filePath, kClassicPathLimit)), origin_(origin) {}

void IniSettingsSource::read(const std::wstring& section, const std::wstring& key,
                             std::wstring& value) {
    readFile(section, key, value);
    traceSetting(section, key, value, value.empty() ? SettingOrigin::none : origin_);
}

// Every read through the profile functions opens the file again, and in a launch they add up:
// a few dozen reads, most of them of keys that are not there, many in sections the file does
// not have (such as the "+" sections of the combined read). The names the profile functions
// list, the file's sections and the keys of a section, each listed once, answer those reads
// without opening the file again. Only a name that certainly differs from every listed one is
// answered so: a section listed twice, or a name no list holds, is read as before.
bool IniSettingsSource::mayHold(const std::wstring& section, const std::wstring& key) {
    if (isBlankName(section) || isBlankName(key))
        return true;
    if (!sections_)
        sections_ = listNames(nullptr);
    const size_t sections = namesThatMayBe(*sections_, section);
    if (sections != 1)
        return sections > 1;
    // A range-for rather than std::find_if, whose search is unrolled four times over.
    for (const auto& [listedSection, names] : keys_)
        if (listedSection == section)
            return namesThatMayBe(names, key) > 0;
    keys_.emplace_back(section, listNames(section.c_str()));
    return namesThatMayBe(keys_.back().second, key) > 0;
}

std::vector<std::wstring> IniSettingsSource::listNames(const wchar_t* section) const {
    // A list that does not fit is cut and reported as the buffer's size - 2.
    std::wstring buffer(256, L'\0');
    DWORD length = 0;
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        length = section ? GetPrivateProfileStringW(section, nullptr, L"", buffer.data(), size,
                                                    filePath_.c_str())
                         : GetPrivateProfileSectionNamesW(buffer.data(), size, filePath_.c_str());
        if (length != buffer.size() - 2)
            break;
        buffer.assign(buffer.size() * 2, L'\0');
    }
    // Zero-separated names; an empty piece is skipped.
    std::vector<std::wstring> names;
    size_t start = 0;
    while (start < length) {
        const size_t end = buffer.find(L'\0', start);
        const size_t stop = end == std::wstring::npos || end > length ? length : end;
        if (stop > start)
            names.push_back(buffer.substr(start, stop - start));
        start = stop + 1;
    }
    return names;
}

void IniSettingsSource::readFile(const std::wstring& section, const std::wstring& key,
                                 std::wstring& value) {
    if (!mayHold(section, key)) {
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
    for (std::wstring& name : listNames(nullptr))
        names.push_back(std::move(name));
}

int IniSettingsSource::write(const std::wstring& section, const std::wstring& key,
                             const std::wstring& value) {
    sections_.reset();
    keys_.clear();
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(),
                                      filePath_.c_str());
}

void IniSettingsSource::removeStore() {
    sections_.reset();
    keys_.clear();
    DeleteFileW(filePath_.c_str());
}

CombinedSettingsSource::CombinedSettingsSource(std::wstring filePath,
                                               const std::wstring& embeddedText)
    : IniSettingsSource(std::move(filePath)) {
    load(embeddedText);
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
    SettingOrigin origin;
    value = combineSettingValue(std::move(embedded), fileValue, extension, origin);
    traceSetting(section, key, value, origin);
}
