// The moments at which the stages of a launch end, for the startup benchmark: the performance
// counter after each stage, written as "name ticks" lines to the file named by the environment
// variable QOVA_STAGE_TIMES. They are written before the VM is created, as what main does may
// end the process.
#pragma once

#include <windows.h>

#include "launcher/DecimalText.h"

#include <string>

class StageMarks {
  public:
    void mark(const char* stage) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        lines_ += stage;
        lines_ += ' ';
        // The launcher's own formatting: the C++ library's is not linked into programs built as
        // the launcher is.
        for (const wchar_t digit : decimalText(static_cast<std::int64_t>(now.QuadPart)))
            lines_ += static_cast<char>(digit);
        lines_ += '\n';
    }

    void write() const {
        wchar_t path[MAX_PATH];
        const DWORD length = GetEnvironmentVariableW(L"QOVA_STAGE_TIMES", path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return;
        HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return;
        DWORD written = 0;
        WriteFile(file, lines_.data(), static_cast<DWORD>(lines_.size()), &written, nullptr);
        CloseHandle(file);
    }

  private:
    std::string lines_;
};
