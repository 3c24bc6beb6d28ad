// Built as the launcher is (no exceptions, its own ends for the C++ library's failures), runs
// the failure its argument names and reports how the process ended: a vectored handler, the
// first code to see an exception, ends the process with the exception's code when the
// exception cannot be continued, and with 2 when it could be. A case that returns ends with 0.
//   failfast_probe index|length|memory|nothrow
#include <windows.h>

#include <cstdint>
#include <new>
#include <string>
#include <vector>

namespace {

LONG CALLBACK endWithCode(EXCEPTION_POINTERS* pointers) {
    const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
    ExitProcess((record.ExceptionFlags & EXCEPTION_NONCONTINUABLE) ? record.ExceptionCode : 2);
}

// Keeps the compiler from dropping a result it could otherwise prove unused.
void* volatile sink;

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2)
        return 3;
    AddVectoredExceptionHandler(1, endWithCode);
    const std::wstring which = argv[1];
    if (which == L"index") {
        std::vector<int> list(3);
        sink = &list.at(static_cast<size_t>(argc) + 3);
    } else if (which == L"length") {
        std::wstring text;
        text.reserve(text.max_size() + static_cast<size_t>(argc));
        sink = text.data();
    } else if (which == L"memory") {
        sink = ::operator new(SIZE_MAX / 2 - static_cast<size_t>(argc));
    } else if (which == L"nothrow") {
        sink = new (std::nothrow) char[SIZE_MAX / 2 - static_cast<size_t>(argc)];
        return sink == nullptr ? 0 : 4;
    } else {
        return 3;
    }
    return 0;
}
