#include "StampOptions.h"

#include "ManifestLevel.h"
#include "StampTexts.h"

#include <algorithm>
#include <string_view>

namespace {

// The version options, with the resource strings they set.
struct VersionOption {
    std::wstring_view option;
    const wchar_t* stringName;
};
constexpr VersionOption kVersionOptions[] = {
    {L"--product-name", L"ProductName"},          {L"--file-version", L"FileVersion"},
    {L"--product-version", L"ProductVersion"},    {L"--company", L"CompanyName"},
    {L"--description", L"FileDescription"},       {L"--copyright", L"LegalCopyright"},
    {L"--original-filename", L"OriginalFilename"}};

bool isAsciiExecutionLevel(const std::wstring& text) {
    std::string narrow;
    for (const wchar_t c : text) {
        if (c > 0x7F)
            return false;
        narrow.push_back(static_cast<char>(c));
    }
    return isExecutionLevel(narrow);
}

// Stores one option's value; false with the error set when it is not acceptable.
bool take(StampOptions& options, std::wstring_view option, const std::wstring& value,
          std::wstring& error) {
    std::wstring* text = nullptr;
    if (option == L"--out")
        text = &options.out;
    else if (option == L"--icon")
        text = &options.icon;
    else if (option == L"--settings")
        text = &options.settings;
    else if (option == L"--execution-level")
        text = &options.executionLevel;
    if (text) {
        if (value.empty()) {
            error = texts::optionNeedsValue(option);
            return false;
        }
        if (option == L"--execution-level" && !isAsciiExecutionLevel(value)) {
            error = texts::notAnExecutionLevel(value);
            return false;
        }
        *text = value;
        return true;
    }
    for (const VersionOption& versionOption : kVersionOptions) {
        if (option != versionOption.option)
            continue;
        if (option == L"--file-version" || option == L"--product-version") {
            const std::optional<VersionNumber> number =
                value.empty() ? VersionNumber{} : parseVersionNumber(value);
            if (!number) {
                error = texts::notAVersion(value);
                return false;
            }
            (option == L"--file-version" ? options.fileVersion : options.productVersion) = number;
        }
        options.versionStrings.emplace_back(versionOption.stringName, value);
        return true;
    }
    if (option == L"--subsystem") {
        options.subsystem = parseSubsystem(value);
        if (!options.subsystem)
            error = texts::notASubsystem(value);
        return options.subsystem.has_value();
    }
    if (option == L"--code-page") {
        options.codePage = parseCodePage(value);
        if (!options.codePage)
            error = texts::notACodePage(value);
        return options.codePage.has_value();
    }
    if (option == L"--subsystem") {
        options.subsystem = parseSubsystem(value);
        if (!options.subsystem)
            error = texts::notASubsystem(value);
        return options.subsystem.has_value();
    }
    error = texts::unknownOption(option);
    return false;
}

bool takesValue(std::wstring_view option) {
    return option == L"--out" || option == L"--icon" || option == L"--settings" ||
           option == L"--execution-level" || option == L"--code-page" || option == L"--subsystem" ||
           std::any_of(std::begin(kVersionOptions), std::end(kVersionOptions),
                       [&](const VersionOption& v) { return v.option == option; });
}

} // namespace

ParsedCommandLine parseStampCommandLine(const std::vector<std::wstring>& arguments) {
    ParsedCommandLine parsed;
    StampOptions& options = parsed.options;
    std::vector<std::wstring> seen;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        if (argument == L"--help" || argument == L"-h" || argument == L"/?") {
            options.help = true;
            continue;
        }
        if (argument == L"--show") {
            options.show = true;
            continue;
        }
        if (argument == L"--remove-signature") {
            options.removeSignature = true;
            continue;
        }
        if (argument.size() < 2 || argument.compare(0, 2, L"--") != 0) {
            if (!options.launcher.empty()) {
                parsed.error = texts::secondLauncher(argument);
                return parsed;
            }
            options.launcher = argument;
            continue;
        }
        const std::size_t equals = argument.find(L'=');
        const std::wstring option = argument.substr(0, equals);
        if (!takesValue(option)) {
            parsed.error = texts::unknownOption(option);
            return parsed;
        }
        if (std::find(seen.begin(), seen.end(), option) != seen.end()) {
            parsed.error = texts::optionTwice(option);
            return parsed;
        }
        seen.push_back(option);
        std::wstring value;
        if (equals != std::wstring::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            parsed.error = texts::optionNeedsValue(option);
            return parsed;
        }
        if (!take(options, option, value, parsed.error))
            return parsed;
    }
    if (options.help)
        return parsed;
    if (options.launcher.empty())
        parsed.error = texts::noLauncher();
    else if (!options.writesFile() && !options.show)
        parsed.error = texts::nothingToDo();
    else if (!options.out.empty() && !options.writesFile())
        parsed.error = texts::outWithoutStamping();
    return parsed;
}
