// Path texts from arbitrary input: class path entries, the folder chain of an output file and
// the removal of path components always stay within, and in the order of, the text given.
#include "javaopts/ClassPathText.h"
#include "javaopts/FolderChain.h"
#include "javaopts/PathList.h"

#include "FuzzCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void checkClassPathEntries(const std::wstring& text) {
    const std::vector<std::wstring> entries = splitClassPathEntries(text);
    std::wstring joined;
    for (const std::wstring& entry : entries) {
        check(entry.find(L';') == std::wstring::npos);
        joined += entry + L';';
    }
    // Joined again, the entries give the text with exactly one trailing separator dropped.
    const std::wstring expected = text.empty() || text.back() == L';' ? text : text + L';';
    check(joined == expected);

    // An entry taken as written goes into the class path unchanged; a search asks for one
    // pattern that ends with the entry.
    for (const std::wstring& entry : entries) {
        std::wstring classPath;
        int searches = 0;
        resolveClassPathEntry(
            entry, L"C:\\App",
            [&](const std::wstring& pattern) {
                ++searches;
                check(pattern.size() >= entry.size() &&
                      pattern.compare(pattern.size() - entry.size(), entry.size(), entry) == 0);
                return std::vector<std::wstring>{L"n"};
            },
            classPath);
        check(searches == (isSearchedClassPathEntry(entry) ? 1 : 0));
        if (searches == 0)
            check(classPath == entry + L';');
        else
            check(classPath.size() >= 2 && classPath.compare(classPath.size() - 2, 2, L"n;") == 0);
    }
}

void checkFolderChain(const std::wstring& path) {
    const FolderChain chain = folderChain(path);
    // Each folder is a proper prefix of the path ending right before a backslash, each one
    // longer than the one before, and the file's own name is never among them.
    size_t previous = 0;
    for (const std::wstring& folder : chain.folders) {
        check(folder.size() < path.size() && path.compare(0, folder.size(), folder) == 0);
        check(path[folder.size()] == L'\\');
        check(folder.size() > previous || (previous == 0 && folder.size() == 0));
        previous = folder.size();
    }
    const size_t backslashes = static_cast<size_t>(std::count(path.begin(), path.end(), L'\\'));
    check(chain.folders.size() <= backslashes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text(data, data + size);
    checkClassPathEntries(text);
    checkFolderChain(text);

    std::wstring path = text;
    for (unsigned count = 0; count < 4; ++count) {
        const std::wstring stripped = stripPathComponents(text, count);
        check(text.compare(0, stripped.size(), stripped) == 0);
        // Each removal takes one backslash and what follows it, or changes nothing at all.
        const std::wstring once = stripPathComponents(path, 1);
        check(once == path || (once.size() < path.size() && path[once.size()] == L'\\'));
        check(stripped == path);
        path = once;
    }
    return 0;
}
