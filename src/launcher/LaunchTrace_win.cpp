// The trace file and the lines written to it.
#include "launcher/LaunchTrace.h"

#include "launcher/Architecture.h"
#include "launcher/ProcessInfo.h"
#include "launcher/TraceLine.h"
#include "launcher/UniqueHandle.h"

namespace {

// Written once by openLaunchTrace, before any other thread exists, and only read afterwards:
// the trace is written from stages and sources that know no launcher.
struct TraceFile {
    UniqueFile file;
    int64_t processId = 0;
    // From the process's creation to the opening, then counted on from there.
    int64_t openedAtUs = 0;
    LARGE_INTEGER openedAt{};
    LARGE_INTEGER frequency{};
};
TraceFile trace;

int64_t fileTimeUnits(const FILETIME& time) {
    return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) |
                                time.dwLowDateTime);
}

// The process's creation time and the system time both advance with the clock tick, so their
// difference is as fine as the tick; the performance counter measures from there, so that the
// lines of one launch are spaced to the microsecond.
int64_t microsecondsSinceStart() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const int64_t ticks = now.QuadPart - trace.openedAt.QuadPart;
    const int64_t frequency = trace.frequency.QuadPart > 0 ? trace.frequency.QuadPart : 1;
    return trace.openedAtUs + ticks / frequency * 1000000 + ticks % frequency * 1000000 / frequency;
}

std::wstring currentDirectory() {
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
    return folder;
}

} // namespace

void openLaunchTrace() {
    // The one check a launch without the variable pays for.
    if (GetEnvironmentVariableW(L"QOVA_LAUNCHER_TRACE", nullptr, 0) == 0)
        return;
    const std::wstring path = environmentVariable(L"QOVA_LAUNCHER_TRACE").value_or(L"");
    if (path.empty())
        return;
    // Appending only: every write lands at the end, whoever else appends to the file, and
    // a line is never overwritten. Shared, so that launches at the same time all trace and
    // the file can be read while the application runs. A folder, a missing folder or a file
    // this user may not write leaves the trace off. Read access is asked for only because
    // the lock taken around each line needs it; where it is refused the lines are still
    // appended, only no longer kept apart from those of launches writing at the same moment.
    constexpr DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    for (const DWORD access : {DWORD{FILE_APPEND_DATA | FILE_READ_DATA}, DWORD{FILE_APPEND_DATA}}) {
        trace.file.reset(CreateFileW(path.c_str(), access, share, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        if (trace.file)
            break;
    }
    if (!trace.file)
        return;
    trace.processId = GetCurrentProcessId();
    FILETIME created, exited, kernel, user, now;
    GetSystemTimeAsFileTime(&now);
    QueryPerformanceFrequency(&trace.frequency);
    QueryPerformanceCounter(&trace.openedAt);
    if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        trace.openedAtUs = (fileTimeUnits(now) - fileTimeUnits(created)) / 10;

    std::wstring executable;
    DWORD error = 0;
    (void)readModulePath(executable, error);
    TraceLine("start")
        .number("format", 1)
        .word("arch", architecture::kName)
        .text("exe", executable)
        .text("cmdline", GetCommandLineW())
        .text("cwd", currentDirectory())
        .write();
}

bool isLaunchTraced() { return static_cast<bool>(trace.file); }

TraceLine::TraceLine(const char* event) {
    line_.number("us", microsecondsSinceStart());
    line_.number("pid", trace.processId);
    line_.word("ev", event);
}

TraceLine& TraceLine::ansi(const char* name, std::string_view bytes) {
    // CP_ACP: the main thread converted the options with the system locale's code page.
    std::wstring wide(bytes.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(
        CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
        static_cast<int>(wide.size()))));
    line_.text(name, wide);
    return *this;
}

void TraceLine::write() {
    const std::wstring& line = line_.finish();
    // Lossless: the line holds no lone surrogate, those are escaped.
    const int units = static_cast<int>(line.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.data(), units, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return;
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.data(), units, bytes.data(), size, nullptr, nullptr);
    // Writers that share the file take turns: an append is one step on Windows, but not
    // everywhere the launcher runs (Wine finds the end, then writes there). The locked byte
    // lies far beyond any end of file, so readers of the lines are never held up by it.
    OVERLAPPED lockedByte{};
    lockedByte.OffsetHigh = 0x7FFFFFFF;
    const bool locked =
        LockFileEx(trace.file.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &lockedByte) != FALSE;
    // A full disk or a vanished share loses the line, never the launch.
    DWORD written = 0;
    (void)WriteFile(trace.file.get(), bytes.data(), static_cast<DWORD>(size), &written, nullptr);
    if (locked)
        UnlockFileEx(trace.file.get(), 0, 1, 0, &lockedByte);
}
