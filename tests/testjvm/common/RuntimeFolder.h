// Where a library of the test runtime finds its script and keeps its record: the nearest folder
// at or above the library's own that holds "testjvm.script" (the runtime home, whether the
// library is bin\server\jvm.dll or bin\splashscreen.dll).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace testjvm {

inline constexpr wchar_t kScriptFileName[] = L"testjvm.script";
inline constexpr wchar_t kRecordFileName[] = L"testjvm.record";

// The full path of the module that holds `address`, and its folder.
std::wstring modulePathOf(const void* address);
std::wstring moduleFolderOf(const void* address);
// Empty when no folder up to three levels above `folder` has a script.
std::wstring findScriptFolder(std::wstring folder);
bool readWholeFile(const std::wstring& path, std::string& bytes);

// Appends whole writes to the record; every write lands at the end of the file even when two
// processes write to it.
class RecordAppender {
  public:
    RecordAppender() = default;
    explicit RecordAppender(const std::wstring& path);
    ~RecordAppender();
    RecordAppender(const RecordAppender&) = delete;
    RecordAppender& operator=(const RecordAppender&) = delete;

    void append(const std::string& lines) const;

  private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

// Bytes in the ANSI code page (option strings, file names) as UTF-16.
std::wstring fromAnsi(std::string_view bytes);

} // namespace testjvm
