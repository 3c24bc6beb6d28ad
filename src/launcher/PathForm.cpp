#include "launcher/PathForm.h"

#include <string_view>

namespace {

constexpr wchar_t kExtendedPrefix[] = L"\\\\?\\";
// The longest path the \\?\ form reaches, terminator excluded.
constexpr std::size_t kExtendedMaxLength = 32766;

bool startsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, std::char_traits<wchar_t>::length(prefix), prefix) == 0;
}

bool isDriveLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

} // namespace

std::wstring extendedPathForm(const std::wstring& path) {
    if (startsWith(path, kExtendedPrefix))
        return path;
    std::size_t start = 3;
    const bool isUnc = startsWith(path, L"\\\\");
    if (isUnc) {
        // \\server\share\... ; \\.\ names a device and keeps its own rules.
        const std::size_t share = path.find(L'\\', 2);
        if (path.size() < 3 || path[2] == L'.' || share == std::wstring::npos ||
            share + 1 >= path.size())
            return {};
        start = 2;
    } else if (path.size() < 3 || !isDriveLetter(path[0]) || path[1] != L':' || path[2] != L'\\') {
        // Relative, to the current folder, its drive's root or ("C:name") a drive's folder.
        return {};
    }
    // The prefix switches off every rewriting Windows does to a path, so each component must
    // already be a plain name: a "." or ".." would name a file of that name, a forward slash
    // or an empty component a name no volume holds. A trailing backslash is fine.
    if (path.find(L'/') != std::wstring::npos)
        return {};
    while (start < path.size()) {
        std::size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos)
            end = path.size();
        const std::wstring_view name(path.data() + start, end - start);
        if (name.empty() || name == L"." || name == L"..")
            return {};
        start = end + 1;
    }
    return isUnc ? L"\\\\?\\UNC" + path.substr(1) : kExtendedPrefix + path;
}

PathChoice choosePathForm(const std::wstring& path, std::size_t maxLength, bool takesExtendedForm,
                          const std::wstring& shortName) {
    if (path.size() <= maxLength)
        return {PathForm::asIs, path};
    if (takesExtendedForm) {
        std::wstring extended = extendedPathForm(path);
        if (!extended.empty() && extended.size() <= kExtendedMaxLength)
            return {PathForm::extended, std::move(extended)};
    }
    // A short name of a \\?\ path keeps the prefix, which a function that refuses the prefix
    // would refuse in the short name too.
    if (!shortName.empty() && shortName.size() <= maxLength &&
        (takesExtendedForm || !startsWith(shortName, kExtendedPrefix)))
        return {PathForm::shortName, shortName};
    return {PathForm::none, path};
}
