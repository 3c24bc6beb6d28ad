// How the launcher ends when the C++ library meets a failure nothing can recover from: memory
// that cannot be allocated, a length beyond what a string or list can hold, an index out of
// range. The process ends at once with a non-continuable exception; nothing resumes after it and
// nothing is reported.
//
// The library's own versions of these functions throw C++ exceptions, and throwing drags the
// exception machinery, its unwinder, the type information classes and a second string
// implementation into the exe: nearly half of its size, for exceptions that nothing catches.
// The launcher is built without exceptions and links these definitions instead. They live in the
// launcher's executable only, so that the test programs keep the library's throwing versions.
#include <windows.h>

#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void failFast(DWORD code) {
    RaiseException(code, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    // RaiseException with EXCEPTION_NONCONTINUABLE does not return; should a handler try to
    // continue, Windows raises STATUS_NONCONTINUABLE_EXCEPTION instead.
    TerminateProcess(GetCurrentProcess(), code);
    __builtin_unreachable();
}

// These tables read best one line each.
// clang-format off
[[noreturn]] void outOfMemory() { failFast(static_cast<DWORD>(STATUS_NO_MEMORY)); }
[[noreturn]] void invalidArgument() { failFast(static_cast<DWORD>(STATUS_INVALID_PARAMETER)); }
[[noreturn, maybe_unused]] void outOfRange() { failFast(static_cast<DWORD>(STATUS_ARRAY_BOUNDS_EXCEEDED)); }
// clang-format on

void* allocate(std::size_t size) {
    // malloc(0) may answer null; a C++ allocation of zero bytes must still succeed.
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    outOfMemory();
}

} // namespace

// clang-format off
void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size ? size : 1);
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

#if defined(_LIBCPP_VERSION)
// libc++ (the ARM64 build) reports its failures through three functions when built without
// exceptions: its header-only helpers (a length beyond what a string can hold, an index out of
// range) call abort, which here ends the process as a library failure, with no message box of
// the C runtime's; an allocation that fails calls __throw_bad_alloc, which its library defines
// with a throw; and its assertions call __libcpp_verbose_abort, whose library version formats
// its message with the C runtime's printf.
extern "C" void abort() { invalidArgument(); }
_LIBCPP_BEGIN_NAMESPACE_STD
void __throw_bad_alloc() { outOfMemory(); }
void __libcpp_verbose_abort(const char*, ...) { invalidArgument(); }
_LIBCPP_END_NAMESPACE_STD
// The tag of the allocations that answer null: defined by the compiled library, which the
// programs built as the launcher is do not link.
namespace std {
const nothrow_t nothrow{};
}
#else
// The library's reports of failures, all of them: leaving one out would pull in the library's
// object that defines the rest, and with it the exception machinery.
namespace std {
void __throw_bad_alloc() { outOfMemory(); }
void __throw_bad_array_new_length() { outOfMemory(); }
void __throw_length_error(const char*) { invalidArgument(); }
void __throw_logic_error(const char*) { invalidArgument(); }
void __throw_invalid_argument(const char*) { invalidArgument(); }
void __throw_domain_error(const char*) { invalidArgument(); }
void __throw_out_of_range(const char*) { outOfRange(); }
void __throw_out_of_range_fmt(const char*, ...) { outOfRange(); }
void __throw_range_error(const char*) { outOfRange(); }
void __throw_overflow_error(const char*) { outOfRange(); }
void __throw_underflow_error(const char*) { outOfRange(); }
void __throw_runtime_error(const char*) { invalidArgument(); }
void __throw_bad_function_call() { invalidArgument(); }
void __throw_bad_exception() { invalidArgument(); }
void __throw_bad_cast() { invalidArgument(); }
void __throw_bad_typeid() { invalidArgument(); }
// clang-format on
} // namespace std
#endif
