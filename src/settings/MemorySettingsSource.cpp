#include "settings/MemorySettingsSource.h"

#include <cwctype>

namespace {

// Names and keys compare exactly and the first match wins, so a duplicate section or key
// further down never changes what is read.
const MemorySection* findSection(const std::vector<MemorySection>& sections,
                                 const std::wstring& name) {
    for (const auto& section : sections)
        if (section.name == name)
            return &section;
    return nullptr;
}

std::vector<std::wstring> splitLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    if (text.empty())
        return lines;
    size_t start = 0;
    for (;;) {
        const size_t separator = text.find(L"\r\n", start);
        if (separator == std::wstring::npos) {
            // A separator at the very end leaves no trailing piece.
            if (start < text.size())
                lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, separator - start));
        start = separator + 2;
    }
}

bool isBlankOrControl(wchar_t c) { return static_cast<unsigned>(c) <= 32; }

std::wstring trimSpace(const std::wstring& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && std::iswspace(static_cast<wint_t>(text[first])))
        ++first;
    while (last > first && std::iswspace(static_cast<wint_t>(text[last - 1])))
        --last;
    return text.substr(first, last - first);
}

} // namespace

bool parseSettingsSectionHeader(const std::wstring& line, std::wstring& name) {
    size_t first = 0;
    while (first < line.size() && isBlankOrControl(line[first]))
        ++first;
    size_t last = line.size();
    while (last > first && isBlankOrControl(line[last - 1]))
        --last;
    if (last - first < 2 || line[first] != L'[' || line[last - 1] != L']')
        return false;
    name = line.substr(first + 1, last - first - 2);
    return true;
}

void MemorySettingsSource::read(const std::wstring& section, const std::wstring& key,
                                std::wstring& value) {
    value.clear();
    const MemorySection* found = findSection(sections_, section);
    if (!found)
        return;
    for (const auto& [pairKey, pairValue] : found->pairs) {
        if (pairKey == key) {
            value = pairValue;
            return;
        }
    }
}

void MemorySettingsSource::listSections(std::vector<std::wstring>& names) {
    for (const auto& section : sections_)
        names.push_back(section.name);
}

int MemorySettingsSource::write(const std::wstring& section, const std::wstring& key,
                                const std::wstring& value) {
    MemorySection* target = nullptr;
    for (auto& candidate : sections_) {
        if (candidate.name == section) {
            target = &candidate;
            break;
        }
    }
    if (!target)
        target = &sections_.emplace_back(MemorySection{section, {}});
    // Appended, never replaced: reads keep returning the first pair of a key.
    target->pairs.emplace_back(key, value);
    return 1;
}

void MemorySettingsSource::load(const std::wstring& text) {
    sections_.clear();
    std::vector<std::wstring> lines = splitLines(text);
    if (!lines.empty() && !lines.front().empty() && lines.front().front() == L'\xFEFF')
        lines.front().erase(0, 1);

    MemorySection* current = nullptr;
    for (const auto& line : lines) {
        if (line.empty())
            continue;
        std::wstring name;
        if (parseSettingsSectionHeader(line, name)) {
            current = &sections_.emplace_back(MemorySection{std::move(name), {}});
            continue;
        }
        const size_t equals = line.find(L'=');
        if (!current || equals == std::wstring::npos)
            continue;
        current->pairs.emplace_back(trimSpace(line.substr(0, equals)),
                                    trimSpace(line.substr(equals + 1)));
    }
}

std::wstring combineSettingValue(std::wstring embeddedValue, const std::wstring& fileValue,
                                 const std::wstring& fileExtension, SettingOrigin& origin) {
    if (!fileValue.empty()) {
        origin = SettingOrigin::file;
        return fileValue;
    }
    if (!fileExtension.empty()) {
        origin = embeddedValue.empty() ? SettingOrigin::plusSection
                                       : SettingOrigin::embeddedAndPlusSection;
        if (fileExtension.front() != L' ')
            embeddedValue += L' ';
        embeddedValue += fileExtension;
        return embeddedValue;
    }
    origin = embeddedValue.empty() ? SettingOrigin::none : SettingOrigin::embedded;
    return embeddedValue;
}

std::wstring combineSettingValue(std::wstring embeddedValue, const std::wstring& fileValue,
                                 const std::wstring& fileExtension) {
    SettingOrigin origin;
    return combineSettingValue(std::move(embeddedValue), fileValue, fileExtension, origin);
}
