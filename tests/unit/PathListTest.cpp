// The runtime's folders, the library path, PATH and the executable's folder.
#include "javaopts/PathList.h"
#include "javaopts/EnvironmentReferences.h"
#include "javaopts/ExecutableFolder.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kJvm = L"C:\\Java\\jre\\bin\\server\\jvm.dll";
const std::wstring kStartPath = L"C:\\Windows\\system32;C:\\Windows";

std::wstring expanded(std::wstring text) {
    expandEnvironmentReferences(text, [](const std::wstring& name, std::wstring& value) {
        if (name != L"Path")
            return false;
        value = kStartPath;
        return true;
    });
    return text;
}

TEST(PathList, StripsComponents) {
    struct Row {
        std::wstring path;
        unsigned count;
        std::wstring expected;
    };
    const Row rows[] = {
        {kJvm, 0, kJvm},
        {kJvm, 2, L"C:\\Java\\jre\\bin"},
        {kJvm, 3, L"C:\\Java\\jre"},
        {kJvm, 4, L"C:\\Java"},
        {kJvm, 5, L"C:"},
        {kJvm, 9, L"C:"},
        {L"jvm.dll", 3, L"jvm.dll"},
        {L"C:\\a\\\\b", 1, L"C:\\a\\"},
        {L"\\\\server\\share\\x", 4, L""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(stripPathComponents(row.path, row.count), row.expected) << row.path;
    EXPECT_EQ(runtimeHomeFolder(kJvm), L"C:\\Java\\jre");
    EXPECT_EQ(runtimeLibFolder(kJvm), L"C:\\Java\\jre\\lib");
}

TEST(PathList, ComposesPath) {
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"", L"C:\\Windows\\system32;C:\\Windows;C:\\Java\\jre\\bin"},
        {L"C:\\Tools", L"C:\\Tools;C:\\Windows\\system32;C:\\Windows;C:\\Java\\jre\\bin"},
        {L"C:\\Tools;", L"C:\\Tools;C:\\Windows\\system32;C:\\Windows;C:\\Java\\jre\\bin"},
    };
    for (const auto& [systemPath, expected] : rows)
        EXPECT_EQ(expanded(composeSystemPath(systemPath, kJvm)), expected) << systemPath;
}

TEST(PathList, ComposesLibraryPathOption) {
    const std::wstring expected = L"-Djava.library.path=C:\\Native;C:\\App\\;.;"
                                  L"C:\\Windows\\system32;C:\\Windows;C:\\Java\\jre\\lib";
    for (const std::wstring libraryPath : {L"C:\\Native", L"C:\\Native;"}) {
        const std::wstring composed = composeLibraryPath(libraryPath, L"C:\\App\\", kJvm);
        EXPECT_EQ(libraryPathOption(expanded(composed)), expected) << libraryPath;
    }
}

TEST(ExecutableFolder, FormsOfTheFolder) {
    struct Row {
        std::wstring path, folder, withBackslash, workingDirectory;
    };
    const Row rows[] = {
        {L"C:\\App\\run.exe", L"C:\\App", L"C:\\App\\", L"C:\\App"},
        {L"\\\\srv\\share\\run.exe", L"\\\\srv\\share", L"\\\\srv\\share\\", L"\\\\srv\\share"},
        // "C:" would name drive C's current folder, not its root.
        {L"C:\\run.exe", L"C:", L"C:\\", L"C:\\"},
        {L"\\\\?\\C:\\run.exe", L"\\\\?\\C:", L"\\\\?\\C:\\", L"\\\\?\\C:\\"},
        {L"\\run.exe", L"", L"\\", L""},
        {L"run.exe", L"", L"", L""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(executableFolder(row.path), row.folder) << row.path;
        EXPECT_EQ(executableFolderWithBackslash(row.path), row.withBackslash) << row.path;
        EXPECT_EQ(workingDirectoryFor(row.path), row.workingDirectory) << row.path;
    }
}

} // namespace
