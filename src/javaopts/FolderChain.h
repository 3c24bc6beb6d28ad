// The folders to create, root first, so that a file's path exists before the file is opened.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct FolderChain {
    // Each a prefix of the file path, from the one below the root to the file's own folder.
    std::vector<std::wstring> folders;
    // Failures are passed over: the server and share levels of a UNC path cannot be created,
    // yet the folders below them can.
    bool isUnc = false;
};

// The root (drive, \\server, \\?\C:, \\?\UNC\server, or the first component of a relative
// path) is never part of the chain; a path with fewer than three components has no folders.
[[nodiscard]] FolderChain folderChain(const std::wstring& filePath);

// Whether the path is worth looking up as an existing file before walking its folders (it
// begins with a backslash or contains a ":").
[[nodiscard]] bool mayNameExistingFile(const std::wstring& filePath);

// The Windows error code of a folder that is already there (ERROR_ALREADY_EXISTS).
inline constexpr std::uint32_t kErrorAlreadyExists = 183;

struct FolderOperations {
    // Creates one folder; 0 on success, else the Windows error code.
    std::function<std::uint32_t(const std::wstring& folder)> createFolder;
    // Removes a folder if it is empty; failures do not matter.
    std::function<void(const std::wstring& folder)> removeEmptyFolder;
};

// Creates the chain in order. Returns 0 when the last creation succeeded or found the folder
// already there, else the last error code. On a path that is not UNC a failure stops the walk,
// and an empty parent that this walk created is removed again.
[[nodiscard]] std::uint32_t createFolderChain(const FolderChain& chain,
                                              const FolderOperations& operations);
