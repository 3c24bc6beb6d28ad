#include "javaopts/ClassPathText.h"

std::vector<std::wstring> splitClassPathEntries(const std::wstring& text) {
    std::vector<std::wstring> entries;
    std::size_t position = 0;
    while (position < text.size()) {
        std::size_t separator = text.find(L';', position);
        if (separator == std::wstring::npos)
            separator = text.size();
        entries.push_back(text.substr(position, separator - position));
        position = separator + 1;
    }
    // The loop stops at a trailing separator; only a leading or doubled one makes an empty
    // entry, which stands for the executable's folder itself.
    return entries;
}

bool isRelativeClassPathEntry(const std::wstring& entry) {
    return entry.size() < 2 || (entry[1] != L':' && entry.compare(0, 2, L"\\\\") != 0);
}

bool isSearchedClassPathEntry(const std::wstring& entry) {
    // Only "*" makes a drive or UNC entry a search; a "?" there is taken as written.
    return entry.find(L'*') != std::wstring::npos || isRelativeClassPathEntry(entry);
}

std::wstring classPathSearchPattern(const std::wstring& entry,
                                    const std::wstring& executableFolder) {
    return isRelativeClassPathEntry(entry) ? executableFolder + entry : entry;
}

std::wstring searchResultFolder(const std::wstring& pattern) {
    const std::size_t backslash = pattern.rfind(L'\\');
    return backslash == std::wstring::npos ? std::wstring{} : pattern.substr(0, backslash + 1);
}

void appendClassPathElement(std::wstring& classPath, const std::wstring& element) {
    classPath += element;
    classPath += L';';
}

void resolveClassPathEntry(const std::wstring& entry, const std::wstring& executableFolder,
                           const FileSearch& search, std::wstring& classPath) {
    if (!isSearchedClassPathEntry(entry)) {
        appendClassPathElement(classPath, entry);
        return;
    }
    const std::wstring pattern = classPathSearchPattern(entry, executableFolder);
    const std::wstring folder = searchResultFolder(pattern);
    // Nothing found contributes nothing: a missing optional jar is not an error.
    for (const std::wstring& name : search(pattern))
        appendClassPathElement(classPath, folder + name);
}

std::wstring assembleClassPath(const std::wstring& classPathSetting,
                               const std::wstring& executableFolder,
                               const EnvironmentLookup& lookup, const FileSearch& search) {
    std::wstring classPath;
    for (std::wstring& entry : splitClassPathEntries(classPathSetting)) {
        // Expanded before the rules are applied, so %LIBS% holding C:\a.jar;C:\b.jar is one
        // drive entry taken as written, and the VM sees both paths.
        expandEnvironmentReferences(entry, lookup);
        resolveClassPathEntry(entry, executableFolder, search, classPath);
    }
    return classPath;
}

void prependEmbeddedJar(std::wstring& classPath, const std::wstring& executablePath) {
    classPath.insert(0, executablePath + L';');
}

std::wstring classPathOption(const std::wstring& classPath) {
    return L"-Djava.class.path=" + classPath;
}
