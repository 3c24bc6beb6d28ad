// The form in which a path goes to a Windows function with a length limit of its own.
#include "launcher/PathForm.h"

#include <gtest/gtest.h>

namespace {

// A full path of exactly `length` characters: C:\ followed by folders of x's.
std::wstring pathOfLength(size_t length, const std::wstring& root = L"C:\\") {
    std::wstring path = root;
    while (path.size() < length)
        path += (path.size() + 1) % 50 == 0 ? L'\\' : L'x';
    if (path.back() == L'\\')
        path.back() = L'y';
    return path;
}

struct PathLimit {
    size_t maxLength;
    bool takesExtendedForm;
};
constexpr PathLimit kTakesExtended{259, true};
constexpr PathLimit kClassic{kClassicPathLimit, false};

TEST(PathForm, LimitDecidesBetweenAsIsExtendedShortAndNone) {
    const std::wstring fits = pathOfLength(259);
    const std::wstring tooLong = pathOfLength(260);
    const std::wstring shortName = L"C:\\XXXXXX~1\\y";
    struct Row {
        const char* name;
        std::wstring path;
        PathLimit limit;
        std::wstring shortName;
        PathForm form;
        std::wstring result;
    };
    const Row rows[] = {
        {"at the limit", fits, kClassic, shortName, PathForm::asIs, fits},
        {"one past, prefix taken", tooLong, kTakesExtended, shortName, PathForm::extended,
         L"\\\\?\\" + tooLong},
        {"one past, prefix refused", tooLong, kClassic, shortName, PathForm::shortName, shortName},
        {"one past, no short name", tooLong, kClassic, L"", PathForm::none, tooLong},
        // A volume whose folders all have 8.3 names gives back the same long path.
        {"short name as long", tooLong, kClassic, tooLong, PathForm::none, tooLong},
        {"current directory leaves room for its backslash",
         pathOfLength(259),
         {kCurrentDirectoryLimit, false},
         shortName,
         PathForm::shortName,
         shortName},
        {"library leaves room for the names beside it",
         pathOfLength(241),
         {kLibraryLoadLimit, false},
         shortName,
         PathForm::shortName,
         shortName},
        // Relative paths have no \\?\ form: the short name is the only way.
        {"relative, long", L"lib\\" + std::wstring(300, L'x'), kTakesExtended, shortName,
         PathForm::shortName, shortName},
        // A short name with the prefix is no use to a function that refuses the prefix.
        {"prefixed short name refused", tooLong, kClassic, L"\\\\?\\C:\\XXXXXX~1\\y",
         PathForm::none, tooLong},
        {"prefixed short name taken", L"lib\\" + std::wstring(300, L'x'), kTakesExtended,
         L"\\\\?\\C:\\XXXXXX~1\\y", PathForm::shortName, L"\\\\?\\C:\\XXXXXX~1\\y"},
        // Past the longest path the prefix reaches.
        {"beyond every form", pathOfLength(32767), kTakesExtended, L"", PathForm::none,
         pathOfLength(32767)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const PathChoice choice = choosePathForm(row.path, row.limit.maxLength,
                                                 row.limit.takesExtendedForm, row.shortName);
        EXPECT_EQ(choice.form, row.form);
        EXPECT_EQ(choice.path, row.result);
    }
}

TEST(PathForm, ExtendedFormOnlyForFullPlainPaths) {
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"C:\\a\\b.ini", L"\\\\?\\C:\\a\\b.ini"},
        // A folder's trailing backslash is no empty name.
        {L"d:\\folder\\", L"\\\\?\\d:\\folder\\"},
        {L"\\\\srv\\share\\a\\b.ini", L"\\\\?\\UNC\\srv\\share\\a\\b.ini"},
        {L"\\\\?\\C:\\a", L"\\\\?\\C:\\a"},
        // Relative in any way: to the current folder, its drive's root, or a drive's folder.
        {L"a\\b.ini", L""},
        {L"\\a\\b.ini", L""},
        {L"C:a\\b.ini", L""},
        // The prefix would hand these on unresolved.
        {L"C:\\a\\..\\b.ini", L""},
        {L"C:\\a\\.\\b.ini", L""},
        {L"C:\\a/b.ini", L""},
        {L"C:\\a\\\\b.ini", L""},
        // Devices and incomplete UNC names.
        {L"\\\\.\\pipe\\x", L""},
        {L"\\\\srv", L""},
        {L"", L""},
    };
    for (const auto& [path, extended] : rows)
        EXPECT_EQ(extendedPathForm(path), extended) << path;
}

} // namespace
