#include "javaopts/AnsiPathText.h"

#include <algorithm>
#include <array>
#include <string_view>

std::string ansiPathText(const std::wstring& path, AnsiConversion convert,
                         ShortPathLookup shortPath) {
    AnsiText direct = convert(path);
    if (direct.lossless)
        return std::move(direct.bytes);
    // A volume without short names gives the long path back, which converts no better.
    const std::wstring shortForm = shortPath(path);
    if (!shortForm.empty()) {
        AnsiText shortText = convert(shortForm);
        if (shortText.lossless)
            return std::move(shortText.bytes);
    }
    return std::move(direct.bytes);
}

size_t pathListValueStart(const std::wstring& option) {
    static constexpr std::array<std::wstring_view, 2> prefixes{L"-Djava.class.path=",
                                                               L"-Djava.library.path="};
    for (const std::wstring_view prefix : prefixes)
        if (option.starts_with(prefix))
            return prefix.size();
    return std::wstring::npos;
}

std::string vmOptionAnsiText(const std::wstring& option, AnsiConversion convert,
                             ShortPathLookup shortPath) {
    AnsiText whole = convert(option);
    const size_t valueStart = pathListValueStart(option);
    if (whole.lossless || valueStart == std::wstring::npos)
        return std::move(whole.bytes);
    std::string text = convert(option.substr(0, valueStart)).bytes;
    for (size_t start = valueStart;;) {
        const size_t separator = std::min(option.find(L';', start), option.size());
        text += ansiPathText(option.substr(start, separator - start), convert, shortPath);
        if (separator == option.size())
            break;
        // ";" is the same byte in every ANSI code page.
        text += ';';
        start = separator + 1;
    }
    return text;
}
