#include "SettingsFileText.h"

#include "launcher/Utf8Sequence.h"
#include "settings/MemorySettingsSource.h"

#include <vector>

namespace {

// The file as UTF-16 code units, or the 1-based line where it stops being text.
struct Decoded {
    std::u16string units;
    bool valid = true;
    std::size_t badLine = 0;
};

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
Decoded decodeUtf8(std::span<const std::uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    Decoded decoded;
    std::size_t line = 1;
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Sequence sequence = utf8SequenceAt(text, i);
        if (!sequence.valid) {
            decoded.valid = false;
            decoded.badLine = line;
            return decoded;
        }
        if (sequence.codePoint == '\n')
            ++line;
        appendUtf16(decoded.units, sequence.codePoint);
        i += sequence.length;
    }
    return decoded;
}

// UTF-16LE after its byte-order mark, every surrogate in a pair.
Decoded decodeUtf16(std::span<const std::uint8_t> bytes) {
    Decoded decoded;
    if (bytes.size() % 2 != 0) {
        decoded.valid = false;
        decoded.badLine = 1;
        return decoded;
    }
    for (std::size_t i = 0; i < bytes.size(); i += 2)
        decoded.units.push_back(static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8));
    const std::u16string& units = decoded.units;
    std::size_t line = 1;
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (units[i] == u'\n')
            ++line;
        const bool isHigh = units[i] >= 0xD800 && units[i] <= 0xDBFF;
        const bool isLow = units[i] >= 0xDC00 && units[i] <= 0xDFFF;
        if (isHigh && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            ++i;
        } else if (isHigh || isLow) {
            decoded.valid = false;
            decoded.badLine = line;
            return decoded;
        }
    }
    return decoded;
}

Decoded decode(std::span<const std::uint8_t> bytes) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return decodeUtf16(bytes.subspan(2));
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return decodeUtf8(bytes.subspan(3));
    return decodeUtf8(bytes);
}

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

SettingsFileProblem lineProblem(const std::wstring& line, bool& inSection) {
    std::size_t first = 0;
    while (first < line.size() && isBlank(line[first]))
        ++first;
    if (first == line.size() || line[first] == L';' || line[first] == L'#')
        return SettingsFileProblem::none;
    std::wstring name;
    if (parseSettingsSectionHeader(line, name)) {
        inSection = true;
        return SettingsFileProblem::none;
    }
    const std::size_t equals = line.find(L'=');
    if (equals == std::wstring::npos)
        return SettingsFileProblem::notASetting;
    if (!inSection)
        return SettingsFileProblem::outsideSection;
    if (equals == first)
        return SettingsFileProblem::emptyKey;
    return SettingsFileProblem::none;
}

} // namespace

SettingsFileText settingsTextFromFile(std::span<const std::uint8_t> bytes) {
    SettingsFileText result;
    const Decoded decoded = decode(bytes);
    if (!decoded.valid) {
        result.problem = SettingsFileProblem::notUtf8OrUtf16;
        result.line = decoded.badLine;
        return result;
    }

    std::vector<std::wstring> lines(1);
    bool endsWithBreak = false;
    const std::u16string& units = decoded.units;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        endsWithBreak = unit == u'\r' || unit == u'\n';
        if (endsWithBreak) {
            if (unit == u'\r' && i + 1 < units.size() && units[i + 1] == u'\n')
                ++i;
            lines.emplace_back();
            continue;
        }
        if (unit < 0x20 && unit != u'\t') {
            result.problem = SettingsFileProblem::controlCharacter;
            result.line = lines.size();
            return result;
        }
        lines.back().push_back(static_cast<wchar_t>(unit));
    }
    if (endsWithBreak || units.empty())
        lines.pop_back();

    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        result.problem = lineProblem(lines[i], inSection);
        if (result.problem != SettingsFileProblem::none) {
            result.line = i + 1;
            return result;
        }
        result.text += lines[i];
        if (i + 1 < lines.size() || endsWithBreak)
            result.text += L"\r\n";
    }
    return result;
}
