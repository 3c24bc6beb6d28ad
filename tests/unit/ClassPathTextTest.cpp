// Class path entries: which are searched, where, and what the class path text becomes.
#include "javaopts/ClassPathText.h"
#include "javaopts/JavaOptionList.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Names = std::vector<std::wstring>;

const std::wstring kFolder = L"C:\\App";

// Answers searches from a fixed table of patterns and records every pattern asked for.
struct FakeSearch {
    std::map<std::wstring, Names> matches;
    Names patterns;

    FileSearch search() {
        return [this](const std::wstring& pattern) {
            patterns.push_back(pattern);
            const auto found = matches.find(pattern);
            return found == matches.end() ? Names{} : found->second;
        };
    }
};

bool lookupLibs(const std::wstring& name, std::wstring& value) {
    if (name != L"LIBS")
        return false;
    value = L"C:\\a.jar;C:\\b.jar";
    return true;
}

TEST(ClassPathText, SplitsEntries) {
    const std::pair<std::wstring, Names> rows[] = {
        {L"", {}},
        {L"a", {L"a"}},
        {L"a;", {L"a"}},
        {L";", {L""}},
        {L";a", {L"", L"a"}},
        {L"a;;b;", {L"a", L"", L"b"}},
        {L"a;;", {L"a", L""}},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(splitClassPathEntries(text), expected) << text;
}

TEST(ClassPathText, ResolvesEachKindOfEntry) {
    struct Row {
        std::wstring entry;
        std::wstring searchedPattern; // empty: taken as written, no search
        std::wstring classPath;
    };
    const Row rows[] = {
        {L"\\lib\\*.jar", L"C:\\App\\lib\\*.jar", L"C:\\App\\lib\\a.jar;C:\\App\\lib\\b.jar;"},
        {L"\\*.jar", L"C:\\App\\*.jar", L"C:\\App\\x.jar;"},
        {L"lib\\app.jar", L"C:\\Applib\\app.jar", L""},
        {L"\\classes", L"C:\\App\\classes", L"C:\\App\\classes;"},
        {L"", L"C:\\App", L"C:\\App;"},
        {L"\\lib\\*", L"C:\\App\\lib\\*", L"C:\\App\\lib\\.;C:\\App\\lib\\..;C:\\App\\lib\\a.jar;"},
        {L"C:\\Java\\lib\\tools.jar", L"", L"C:\\Java\\lib\\tools.jar;"},
        {L"C:a.jar", L"", L"C:a.jar;"},
        {L"\\\\server\\share\\x.jar", L"", L"\\\\server\\share\\x.jar;"},
        {L"C:\\Java\\lib\\?.jar", L"", L"C:\\Java\\lib\\?.jar;"},
        {L"C:\\Java\\lib\\*.jar", L"C:\\Java\\lib\\*.jar", L"C:\\Java\\lib\\t.jar;"},
        {L"x", L"C:\\Appx", L""},
    };
    for (const Row& row : rows) {
        FakeSearch disk{{{L"C:\\App\\lib\\*.jar", {L"a.jar", L"b.jar"}},
                         {L"C:\\App\\*.jar", {L"x.jar"}},
                         {L"C:\\App\\classes", {L"classes"}},
                         {L"C:\\App", {L"App"}},
                         {L"C:\\App\\lib\\*", {L".", L"..", L"a.jar"}},
                         {L"C:\\Java\\lib\\*.jar", {L"t.jar"}}}};
        std::wstring classPath;
        resolveClassPathEntry(row.entry, kFolder, disk.search(), classPath);
        EXPECT_EQ(classPath, row.classPath) << row.entry;
        EXPECT_EQ(disk.patterns, row.searchedPattern.empty() ? Names{} : Names{row.searchedPattern})
            << row.entry;
    }
}

TEST(ClassPathText, AssemblesExpandedEntriesInOrder) {
    FakeSearch disk{{{L"C:\\App\\app.jar", {L"app.jar"}}}};
    // %LIBS% expands to a drive path and stays one entry, taken as written.
    std::wstring classPath =
        assembleClassPath(L"\\app.jar;%LIBS%;\\missing.jar", kFolder, lookupLibs, disk.search());
    EXPECT_EQ(classPath, L"C:\\App\\app.jar;C:\\a.jar;C:\\b.jar;");
    prependEmbeddedJar(classPath, L"C:\\App\\run.exe");
    EXPECT_EQ(classPathOption(classPath),
              L"-Djava.class.path=C:\\App\\run.exe;C:\\App\\app.jar;C:\\a.jar;C:\\b.jar;");

    std::wstring embeddedOnly = assembleClassPath(L"", kFolder, lookupLibs, disk.search());
    prependEmbeddedJar(embeddedOnly, L"C:\\App\\run.exe");
    EXPECT_EQ(embeddedOnly, L"C:\\App\\run.exe;");
}

TEST(JavaOptionList, ClassPathFirstThenParametersEachExpandedAfterRewriting) {
    const MemoryStatus machine{std::uint64_t{8} << 30, 0};
    const EnvironmentLookup lookup = [](const std::wstring& name, std::wstring& value) {
        if (name == L"HEAP")
            value = L"50P";
        else if (name == L"DIR")
            value = L"C:\\Data";
        else
            return false;
        return true;
    };
    std::uint64_t stackSize = 0;
    const Names options =
        composeJavaOptions({.classPath = L"C:\\%DIR%.jar;",
                            .vmParameters = L"-Xmx%HEAP% -Xmx50P -Dd=%DIR%"},
                           machine, lookup, stackSize)
            .options;
    EXPECT_EQ(options, (Names{L"-Djava.class.path=C:\\C:\\Data.jar;", L"-Xmx50P", L"-Xmx4194304K",
                              L"-Dd=C:\\Data"}));
    EXPECT_EQ(stackSize, 0u);
}

} // namespace
