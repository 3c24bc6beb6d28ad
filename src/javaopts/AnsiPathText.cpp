#include "javaopts/AnsiPathText.h"

#include <algorithm>
#include <array>
#include <string_view>

AnsiPathChoice chooseAnsiPath(const std::wstring& path, AnsiConversion convert,
                              ShortPathLookup shortPath) {
    AnsiText direct = convert(path);
    if (direct.lossless)
        return {AnsiPathForm::converted, std::move(direct.bytes)};
    // A volume without short names gives the long path back, which converts no better.
    const std::wstring shortForm = shortPath(path);
    if (shortForm.empty())
        return {AnsiPathForm::lossy, std::move(direct.bytes)};
    AnsiText shortText = convert(shortForm);
    if (shortText.lossless)
        return {AnsiPathForm::shortened, std::move(shortText.bytes)};
    return {AnsiPathForm::unnamed, std::move(direct.bytes)};
}

std::string ansiPathText(const std::wstring& path, AnsiConversion convert,
                         ShortPathLookup shortPath) {
    return chooseAnsiPath(path, convert, shortPath).bytes;
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
                             ShortPathLookup shortPath, std::wstring* unnamedPath) {
    AnsiText whole = convert(option);
    const size_t valueStart = pathListValueStart(option);
    if (whole.lossless || valueStart == std::wstring::npos)
        return std::move(whole.bytes);
    std::string text = convert(option.substr(0, valueStart)).bytes;
    for (size_t start = valueStart;;) {
        const size_t separator = std::min(option.find(L';', start), option.size());
        const std::wstring element = option.substr(start, separator - start);
        const AnsiPathChoice choice = chooseAnsiPath(element, convert, shortPath);
        // The VM would look for a name that finds nothing, and its classes or libraries would
        // be missing with no word of why: the caller says why instead.
        if (choice.form == AnsiPathForm::unnamed && unnamedPath && unnamedPath->empty())
            *unnamedPath = element;
        text += choice.bytes;
        if (separator == option.size())
            break;
        // ";" is the same byte in every ANSI code page.
        text += ';';
        start = separator + 1;
    }
    return text;
}
