// Which folders are created for an output file, in which order, and what a failure leaves.
#include "javaopts/FolderChain.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Folders = std::vector<std::wstring>;

TEST(FolderChain, FoldersBetweenRootAndFileName) {
    struct Row {
        std::wstring path;
        Folders folders;
        bool isUnc;
    };
    const Row rows[] = {
        {L"C:\\Logs\\app\\out.log", {L"C:\\Logs", L"C:\\Logs\\app"}, false},
        {L"C:\\out.log", {}, false},
        {L"out.log", {}, false},
        {L"logs\\out.log", {}, false},
        // The first component of a relative path is taken as the root and never created.
        {L"logs\\a\\out.log", {L"logs\\a"}, false},
        {L"\\Logs\\x\\out.log", {L"\\Logs", L"\\Logs\\x"}, false},
        {L"C:\\a\\\\b\\f", {L"C:\\a", L"C:\\a\\", L"C:\\a\\\\b"}, false},
        {L"C:\\a\\b\\", {L"C:\\a"}, false},
        {L"\\\\srv\\share\\d\\f.log", {L"\\\\srv\\share", L"\\\\srv\\share\\d"}, true},
        {L"\\\\srv", {}, true},
        {L"\\\\?\\C:\\Logs\\out.log", {L"\\\\?\\C:\\Logs"}, false},
        // A long UNC path has its server as the root, like a plain UNC path.
        {L"\\\\?\\UNC\\srv\\share\\d\\f.log",
         {L"\\\\?\\UNC\\srv\\share", L"\\\\?\\UNC\\srv\\share\\d"},
         true},
    };
    for (const Row& row : rows) {
        const FolderChain chain = folderChain(row.path);
        EXPECT_EQ(chain.folders, row.folders) << row.path;
        EXPECT_EQ(chain.isUnc, row.isUnc) << row.path;
    }
}

TEST(FolderChain, ExistingFileIsLookedUpOnlyForRootedPaths) {
    EXPECT_TRUE(mayNameExistingFile(L"C:\\a.log"));
    EXPECT_TRUE(mayNameExistingFile(L"C:a.log"));
    EXPECT_TRUE(mayNameExistingFile(L"\\a.log"));
    EXPECT_FALSE(mayNameExistingFile(L"logs\\a.log"));
    EXPECT_FALSE(mayNameExistingFile(L""));
}

// A file system of folders with fixed answers for CreateDirectoryW; others are created.
struct FakeFolders {
    std::map<std::wstring, std::uint32_t> answers;
    Folders created, removed;

    FolderOperations operations() {
        return {[this](const std::wstring& folder) {
                    const auto found = answers.find(folder);
                    if (found != answers.end())
                        return found->second;
                    created.push_back(folder);
                    return std::uint32_t{0};
                },
                [this](const std::wstring& folder) { removed.push_back(folder); }};
    }
};

constexpr std::uint32_t kAccessDenied = 5;

TEST(FolderChain, WalkTreatsExistingFoldersAsSuccess) {
    FakeFolders disk{{{L"C:\\Logs", kErrorAlreadyExists}}};
    EXPECT_EQ(createFolderChain(folderChain(L"C:\\Logs\\app\\x\\out.log"), disk.operations()), 0u);
    EXPECT_EQ(disk.created, (Folders{L"C:\\Logs\\app", L"C:\\Logs\\app\\x"}));
    EXPECT_TRUE(disk.removed.empty());
}

TEST(FolderChain, FailureStopsTheWalkAndRemovesTheParentItCreated) {
    FakeFolders disk{{{L"C:\\a\\b\\c", kAccessDenied}}};
    EXPECT_EQ(createFolderChain(folderChain(L"C:\\a\\b\\c\\d\\f"), disk.operations()),
              kAccessDenied);
    EXPECT_EQ(disk.created, (Folders{L"C:\\a", L"C:\\a\\b"}));
    EXPECT_EQ(disk.removed, Folders{L"C:\\a\\b"});
}

TEST(FolderChain, FailureKeepsParentsThatWereThereBefore) {
    FakeFolders existing{{{L"C:\\a", kErrorAlreadyExists}, {L"C:\\a\\b", kAccessDenied}}};
    EXPECT_EQ(createFolderChain(folderChain(L"C:\\a\\b\\f"), existing.operations()), kAccessDenied);
    EXPECT_TRUE(existing.removed.empty());

    FakeFolders belowRoot{{{L"C:\\a", kAccessDenied}}};
    EXPECT_EQ(createFolderChain(folderChain(L"C:\\a\\b\\f"), belowRoot.operations()),
              kAccessDenied);
    EXPECT_TRUE(belowRoot.created.empty());
    EXPECT_TRUE(belowRoot.removed.empty());
}

TEST(FolderChain, UncWalkPassesOverFailuresAndReportsTheLast) {
    FakeFolders disk{{{L"\\\\srv\\share", kAccessDenied}}};
    EXPECT_EQ(createFolderChain(folderChain(L"\\\\srv\\share\\d\\f"), disk.operations()), 0u);
    EXPECT_EQ(disk.created, Folders{L"\\\\srv\\share\\d"});

    FakeFolders last{{{L"\\\\srv\\share\\d", kAccessDenied}}};
    EXPECT_EQ(createFolderChain(folderChain(L"\\\\srv\\share\\d\\f"), last.operations()),
              kAccessDenied);
    EXPECT_TRUE(last.removed.empty());
}

} // namespace
