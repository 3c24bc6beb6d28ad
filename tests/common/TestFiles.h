// Files and folders for the Windows-side tests.
#pragma once

#include <windows.h>

#include <string>

// A fresh folder under %TEMP%, deleted with everything in it when the object goes away
// (kept when QOVA_KEEP_TEST_FOLDERS is set, for looking at a failure).
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    // path() + "\" + relative
    std::wstring file(const std::wstring& relative) const;

private:
    std::wstring path_;
};

// The folder that holds this test program (and the launcher and test runtime beside it).
std::wstring testProgramFolder();

// Creates every missing folder of a path.
void createFolders(const std::wstring& folder);

// Writes text as UTF-16 with a byte-order mark, which the profile functions read in full.
void writeUtf16File(const std::wstring& path, const std::wstring& text);
void writeBytesFile(const std::wstring& path, const std::string& bytes);
std::string readBytesFile(const std::wstring& path);
// Dates a file back to 2020, as a file installed long ago. Wine reads a settings file written
// in the last seconds afresh at every read, in case a change has not reached its time yet.
void dateFileBack(const std::wstring& path);

// Renders a wide text for test failure output.
std::string narrow(const std::wstring& text);
