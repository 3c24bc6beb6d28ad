#include "javaopts/FolderChain.h"

#include <string_view>

namespace {

constexpr std::wstring_view kLongPathPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncMarker = L"UNC\\";

bool startsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool startsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        wchar_t c = text[i];
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
        if (c != prefix[i])
            return false;
    }
    return true;
}

// Splits at every backslash: an empty component stays between two backslashes in a row, and a
// trailing backslash adds none.
void appendComponents(std::wstring_view text, std::vector<std::wstring>& components) {
    std::size_t position = 0;
    while (position < text.size()) {
        std::size_t backslash = text.find(L'\\', position);
        if (backslash == std::wstring_view::npos)
            backslash = text.size();
        components.emplace_back(text.substr(position, backslash - position));
        position = backslash + 1;
    }
}

} // namespace

FolderChain folderChain(const std::wstring& filePath) {
    FolderChain chain;
    std::wstring_view path = filePath;
    std::wstring_view prefix;
    if (startsWith(path, kLongPathPrefix)) {
        prefix = kLongPathPrefix;
        path.remove_prefix(kLongPathPrefix.size());
    }

    // The root's own backslashes are skipped before its end is searched for: \\server is one
    // root, and so is \\?\UNC\server, whose server level could not be created either.
    std::size_t rootSearchFrom = 0;
    if (prefix.empty() && path.size() > 2 && startsWith(path, L"\\\\") && path[2] != L'?') {
        chain.isUnc = true;
        rootSearchFrom = 2;
    } else if (!prefix.empty() && startsWithIgnoringCase(path, kLongUncMarker)) {
        chain.isUnc = true;
        rootSearchFrom = kLongUncMarker.size();
    }

    std::vector<std::wstring> components;
    const std::size_t rootEnd = path.find(L'\\', rootSearchFrom);
    components.emplace_back(std::wstring{prefix} + std::wstring{path.substr(0, rootEnd)});
    if (rootEnd != std::wstring_view::npos)
        appendComponents(path.substr(rootEnd + 1), components);

    // The root and the file name are never created.
    if (components.size() < 3)
        return chain;
    std::wstring folder = components.front();
    for (std::size_t i = 1; i + 1 < components.size(); ++i) {
        folder += L'\\';
        folder += components[i];
        chain.folders.push_back(folder);
    }
    return chain;
}

bool mayNameExistingFile(const std::wstring& filePath) {
    return (!filePath.empty() && filePath.front() == L'\\') ||
           filePath.find(L':') != std::wstring::npos;
}

std::uint32_t createFolderChain(const FolderChain& chain, const FolderOperations& operations) {
    std::uint32_t result = 0;
    bool previousCreatedHere = false;
    for (std::size_t i = 0; i < chain.folders.size(); ++i) {
        const std::uint32_t error = operations.createFolder(chain.folders[i]);
        const bool createdHere = error == 0;
        result = (createdHere || error == kErrorAlreadyExists) ? 0 : error;
        if (result != 0 && !chain.isUnc) {
            // Leave no empty folder of ours behind for a file that cannot be created anyway.
            if (i > 0 && previousCreatedHere)
                operations.removeEmptyFolder(chain.folders[i - 1]);
            return result;
        }
        previousCreatedHere = createdHere;
    }
    return result;
}
