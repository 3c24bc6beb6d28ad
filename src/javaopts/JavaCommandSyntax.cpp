#include "javaopts/JavaCommandSyntax.h"

#include "javaopts/ClassPathText.h"
#include "settings/SettingsKeys.h"

#include <string_view>

namespace {

// The tables below are narrow text that the launcher reads entry by entry: every byte of them
// is paid by every user, and a table of string objects would cost several times as much.

// The options the java command takes with their value as the next word, ";" between entries.
// The first character says what the value is: T text passed as written, P a ";" list of module
// folders and jars, M "module=" and then such a list. The VM knows only the long names, each with
// "=" and its value in the same option; "-p" is its short name for --module-path.
constexpr char kValueOptions[] = "P--module-path;P-p;P--upgrade-module-path;T--add-modules;"
                                 "T--limit-modules;T--add-reads;T--add-exports;T--add-opens;"
                                 "M--patch-module;T--enable-native-access;";

// What the java command does itself rather than hand to the VM. The first character is the
// setting that does it (an index into kSettingsInstead; 0 for the actions that start no
// application: versions, help, module lists, source-file mode). A name that ends in "=" or ":"
// starts the option, as in --module=app or -splash:image.png.
constexpr char kLauncherActions[] =
    "1-jar;2-m;2--module;2--module=;3-cp;3-classpath;3--class-path;3--class-path=;4-splash:;"
    "5-client;5-server;0-version;0--version;0-showversion;0--show-version;0-fullversion;"
    "0--full-version;0--list-modules;0-d;0--describe-module;0--describe-module=;0--dry-run;"
    "0--validate-modules;0--source;0--source=;0--disable-@files;0-help;0--help;0-h;0-?;0-X;"
    "0--help-extra;";

const wchar_t* const kSettingsInstead[] = {nullptr,
                                           L"Main Jar",
                                           settings::mainModuleKey,
                                           settings::classPathKey,
                                           settings::splashScreenKey,
                                           settings::jvmTypeKey};

// One entry of a table: its leading character and its name.
struct TableEntry {
    char tag;
    std::string_view name;
};

// Calls visit(entry) for each entry until it returns true; the entry it stopped at, if any.
template <typename Visit> bool findEntry(const char* table, TableEntry& found, Visit visit) {
    for (std::string_view rest = table; !rest.empty();) {
        const std::size_t end = rest.find(';');
        found = {rest[0], rest.substr(1, end - 1)};
        if (visit(found))
            return true;
        rest.remove_prefix(end + 1);
    }
    return false;
}

// Whether the option starts with the ASCII name (and is no longer than it, unless `prefix`).
bool matchesName(const std::wstring& option, std::string_view name, bool prefix) {
    if (option.size() < name.size() || (!prefix && option.size() != name.size()))
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (option[i] != static_cast<unsigned char>(name[i]))
            return false;
    return true;
}

bool isLauncherAction(const std::wstring& option, const wchar_t*& settingInstead) {
    TableEntry action;
    if (!findEntry(kLauncherActions, action, [&option](const TableEntry& entry) {
            const char last = entry.name.back();
            return matchesName(option, entry.name, last == '=' || last == ':');
        }))
        return false;
    settingInstead = kSettingsInstead[action.tag - '0'];
    return true;
}

enum class ValueKind { Text = 'T', Paths = 'P', PatchPaths = 'M' };

std::wstring resolvedValue(const std::wstring& value, ValueKind kind,
                           const std::wstring& executableFolder, const EnvironmentLookup& lookup) {
    switch (kind) {
    case ValueKind::Text:
        return value;
    case ValueKind::Paths:
        return resolveModulePath(value, executableFolder, lookup);
    case ValueKind::PatchPaths: {
        // Without "module=" there is no path to resolve; the VM says what is wrong.
        const std::size_t equals = value.find(L'=');
        if (equals == std::wstring::npos)
            return value;
        return value.substr(0, equals + 1) +
               resolveModulePath(value.substr(equals + 1), executableFolder, lookup);
    }
    }
    return value;
}

} // namespace

std::wstring resolveModulePath(const std::wstring& text, const std::wstring& executableFolder,
                               const EnvironmentLookup& lookup) {
    std::wstring path;
    for (std::wstring& entry : splitClassPathEntries(text)) {
        expandEnvironmentReferences(entry, lookup);
        // Unlike on the class path an empty entry does not stand for the executable's folder:
        // the VM would take every jar there for a module, the application's own included.
        if (entry.empty())
            continue;
        if (!path.empty())
            path += L';';
        path += classPathSearchPattern(entry, executableFolder);
    }
    return path;
}

JavaCommandOptions applyJavaCommandSyntax(const std::vector<std::wstring>& options,
                                          const std::wstring& executableFolder,
                                          const EnvironmentLookup& lookup) {
    JavaCommandOptions result;
    for (std::size_t i = 0; i < options.size() && result.fault == OptionFault::None; ++i) {
        const std::wstring& option = options[i];
        result.faultyOption = option;
        if (isLauncherAction(option, result.settingInstead)) {
            result.fault = OptionFault::LauncherAction;
            break;
        }
        // The two-word form by its name, the one-word form of a long name by "=" after it.
        bool oneWord = false;
        TableEntry matched;
        if (!findEntry(kValueOptions, matched, [&option, &oneWord](const TableEntry& entry) {
                if (matchesName(option, entry.name, false))
                    return true;
                oneWord = entry.name.starts_with("--") && matchesName(option, entry.name, true) &&
                          option.size() > entry.name.size() && option[entry.name.size()] == L'=';
                return oneWord;
            })) {
            result.options.push_back(option);
            continue;
        }
        std::wstring written = option;
        std::wstring value;
        if (oneWord) {
            value = option.substr(matched.name.size() + 1);
        } else if (i + 1 < options.size()) {
            // The next option is the value whatever it looks like, as the java command takes it.
            value = options[++i];
            written += L' ';
            written += value;
        }
        if (value.empty()) {
            result.fault = OptionFault::MissingValue;
            break;
        }
        const std::string_view vmName = matched.name == "-p" ? "--module-path" : matched.name;
        std::wstring passed(vmName.begin(), vmName.end());
        passed += L'=';
        passed +=
            resolvedValue(value, static_cast<ValueKind>(matched.tag), executableFolder, lookup);
        if (passed != written)
            result.rewritten.push_back({written, passed});
        result.options.push_back(std::move(passed));
    }
    if (result.fault == OptionFault::None)
        result.faultyOption.clear();
    return result;
}
