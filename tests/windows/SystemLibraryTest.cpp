// Feature DLLs come from the system folder, never from beside the program.
#include "launcher/SystemLibrary.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring modulePath(HMODULE module) {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

std::wstring systemFolder() {
    wchar_t folder[MAX_PATH];
    return std::wstring(folder, GetSystemDirectoryW(folder, MAX_PATH));
}

} // namespace

TEST(SystemLibrary, LoadsFromTheSystemFolderAndFindsExports) {
    const UniqueModule shell = loadSystemLibrary(L"shell32.dll");
    ASSERT_TRUE(shell);
    EXPECT_EQ(
        _wcsicmp(modulePath(shell.get()).c_str(), (systemFolder() + L"\\shell32.dll").c_str()), 0);
    using ShellExecute = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    EXPECT_NE(libraryFunction<ShellExecute>(shell.get(), "ShellExecuteW"), nullptr);
    EXPECT_EQ(libraryFunction<ShellExecute>(shell.get(), "NoSuchExport"), nullptr);
    EXPECT_EQ(libraryFunction<ShellExecute>(nullptr, "ShellExecuteW"), nullptr);
}

TEST(SystemLibrary, ALibraryOnlyBesideTheProgramIsNotLoaded) {
    // A DLL planted beside the program under a name the system folder does not have.
    const std::wstring planted = testProgramFolder() + L"\\qova-planted.dll";
    ASSERT_TRUE(
        CopyFileW((testProgramFolder() + L"\\testjvm\\java.dll").c_str(), planted.c_str(), FALSE));
    EXPECT_FALSE(loadSystemLibrary(L"qova-planted.dll"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    DeleteFileW(planted.c_str());
}
