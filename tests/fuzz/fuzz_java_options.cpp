// The options the VM receives, from any "Class Path" and "Virtual Machine Parameters" texts:
// the class path assembled against a made-up file system, the option list composed from it,
// and each option turned into the narrow text of a code page that lacks some characters.
#include "javaopts/AnsiPathText.h"
#include "javaopts/ClassPathText.h"
#include "javaopts/JavaOptionList.h"
#include "javaopts/VmParameterText.h"

#include "FuzzCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A code page that holds ASCII only; anything else becomes "?".
AnsiText asciiCodePage(const std::wstring& text) {
    AnsiText result;
    for (const wchar_t c : text) {
        result.bytes.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        result.lossless = result.lossless && c < 0x80;
    }
    return result;
}

// Short names exist for paths that mention "~" (as "PROGRA~1" does) and hold ASCII only; a
// volume without short names gives nothing.
std::wstring shortNameOf(const std::wstring& path) {
    if (path.find(L'~') == std::wstring::npos)
        return {};
    std::wstring shortName;
    for (const wchar_t c : path)
        if (c < 0x80)
            shortName.push_back(c);
    return shortName;
}

// Variables with short all-digit names exist; their values are file lists of their own.
bool lookUp(const std::wstring& name, std::wstring& value) {
    if (name.empty() || name.size() > 2 ||
        !std::all_of(name.begin(), name.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
        return false;
    value = L"C:\\v" + name + L".jar;\\lib\\" + name + L"*.jar";
    return true;
}

// A wildcard finds two names, a pattern with "?" nothing, any other pattern itself.
std::vector<std::wstring> search(const std::wstring& pattern) {
    if (pattern.find(L'?') != std::wstring::npos)
        return {};
    if (pattern.find(L'*') != std::wstring::npos)
        return {L"a.jar", L"\u00e9.jar"};
    return {L"found"};
}

size_t separators(const std::string& text) {
    return std::count(text.begin(), text.end(), ';');
}
size_t separators(const std::wstring& text) {
    return std::count(text.begin(), text.end(), L';');
}

void checkNarrowOption(const std::wstring& option) {
    const std::string narrow = vmOptionAnsiText(option, asciiCodePage, shortNameOf);
    const AnsiText whole = asciiCodePage(option);
    if (whole.lossless || pathListValueStart(option) == std::wstring::npos) {
        check(narrow == whole.bytes);
        return;
    }
    // A path list keeps its elements apart; each element converts alone, by its short name
    // where it has one that loses nothing.
    check(separators(narrow) == separators(option));
    std::string expected = asciiCodePage(option.substr(0, pathListValueStart(option))).bytes;
    for (size_t start = pathListValueStart(option);;) {
        const size_t end = std::min(option.find(L';', start), option.size());
        expected += ansiPathText(option.substr(start, end - start), asciiCodePage, shortNameOf);
        if (end == option.size())
            break;
        expected += ';';
        start = end + 1;
    }
    check(narrow == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // One character per byte (bytes from 0xF0 on stand for characters beyond ASCII), the class
    // path setting before the first zero byte, the VM parameters after it.
    std::wstring text;
    for (size_t i = 0; i < size; ++i)
        text.push_back(data[i] >= 0xF0 ? static_cast<wchar_t>(0x400 + data[i])
                                       : static_cast<wchar_t>(data[i]));
    const size_t cut = std::min(text.find(L'\0'), text.size());
    const std::wstring classPathSetting = text.substr(0, cut);
    const std::wstring vmParameters = cut < text.size() ? text.substr(cut + 1) : L"";

    const std::wstring classPath = assembleClassPath(classPathSetting, L"C:\\App", lookUp, search);
    check(classPath.empty() || classPath.back() == L';');
    // Without references every entry stands alone: those taken as written arrive as written,
    // in order; searched ones give what the search found.
    if (classPathSetting.find(L'%') == std::wstring::npos) {
        std::wstring expected;
        for (const std::wstring& entry : splitClassPathEntries(classPathSetting))
            resolveClassPathEntry(entry, L"C:\\App", search, expected);
        check(classPath == expected);
    }

    std::uint64_t stackSize = 7;
    const MemoryStatus memory{std::uint64_t{8} << 30, std::uint64_t{128} << 40};
    const JavaCommandOptions composed = composeJavaOptions(
        {.classPath = classPath, .vmParameters = vmParameters, .executableFolder = L"C:\\App"},
        memory, lookUp, stackSize);
    const std::vector<std::wstring>& options = composed.options;
    // Two-word options become one; a fault stops before the class path is put in front.
    const size_t classPathOptions = classPath.empty() ? 0 : 1;
    const size_t tokens = splitVmParameterText(vmParameters).size();
    if (composed.fault == OptionFault::None) {
        check(options.size() + composed.rewritten.size() >= classPathOptions + tokens);
        check(options.size() <= classPathOptions + tokens);
        if (!classPath.empty())
            check(options.front().compare(0, 18, L"-Djava.class.path=") == 0);
    } else {
        check(!composed.faultyOption.empty() && options.size() < tokens);
    }
    for (const std::wstring& option : options)
        checkNarrowOption(option);
    return 0;
}
