// Owning wrappers for Win32 handles: one non-copyable, movable type per closing convention.
#pragma once

#include <windows.h>

#include <utility>

template <typename Traits> class UniqueResource {
  public:
    using Type = typename Traits::Type;

    UniqueResource() = default;
    explicit UniqueResource(Type value) : value_(value) {}
    ~UniqueResource() { reset(); }

    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Type get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::invalid(); }

    Type release() { return std::exchange(value_, Traits::invalid()); }
    void reset(Type value = Traits::invalid()) {
        const Type old = std::exchange(value_, value);
        if (old != Traits::invalid())
            Traits::close(old);
    }
    // For APIs that return the handle through an out parameter.
    Type* put() {
        reset();
        return &value_;
    }

  private:
    Type value_ = Traits::invalid();
};

struct HandleTraits {
    using Type = HANDLE;
    static Type invalid() { return nullptr; }
    static void close(Type h) { CloseHandle(h); }
};

// CreateFileW and friends report failure with INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
    using Type = HANDLE;
    static Type invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Type h) { CloseHandle(h); }
};

struct FindHandleTraits {
    using Type = HANDLE;
    static Type invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Type h) { FindClose(h); }
};

struct RegistryKeyTraits {
    using Type = HKEY;
    static Type invalid() { return nullptr; }
    static void close(Type h) { RegCloseKey(h); }
};

struct ModuleTraits {
    using Type = HMODULE;
    static Type invalid() { return nullptr; }
    static void close(Type h) { FreeLibrary(h); }
};

struct MappedViewTraits {
    using Type = const void*;
    static Type invalid() { return nullptr; }
    static void close(Type view) { UnmapViewOfFile(view); }
};

// A mapped view seen as the structure laid out in it.
template <typename Layout> struct TypedMappedViewTraits {
    using Type = Layout*;
    static Type invalid() { return nullptr; }
    static void close(Type view) { UnmapViewOfFile(view); }
};

struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type invalid() { return nullptr; }
    static void close(Type h) { DeleteObject(h); }
};

// A device context made with CreateCompatibleDC.
struct MemoryDcTraits {
    using Type = HDC;
    static Type invalid() { return nullptr; }
    static void close(Type h) { DeleteDC(h); }
};

// The screen's device context from GetDC(nullptr).
struct ScreenDcTraits {
    using Type = HDC;
    static Type invalid() { return nullptr; }
    static void close(Type h) { ReleaseDC(nullptr, h); }
};

struct GlobalMemoryTraits {
    using Type = HGLOBAL;
    static Type invalid() { return nullptr; }
    static void close(Type h) { GlobalFree(h); }
};

template <typename Interface> struct ComPointerTraits {
    using Type = Interface*;
    static Type invalid() { return nullptr; }
    static void close(Type pointer) { pointer->Release(); }
};

struct WindowTraits {
    using Type = HWND;
    static Type invalid() { return nullptr; }
    static void close(Type h) { DestroyWindow(h); }
};

using UniqueHandle = UniqueResource<HandleTraits>;
using UniqueFile = UniqueResource<FileHandleTraits>;
using UniqueFind = UniqueResource<FindHandleTraits>;
using UniqueRegistryKey = UniqueResource<RegistryKeyTraits>;
using UniqueModule = UniqueResource<ModuleTraits>;
using UniqueMappedView = UniqueResource<MappedViewTraits>;
using UniqueGdiObject = UniqueResource<GdiObjectTraits>;
template <typename Layout> using UniqueMappedViewOf = UniqueResource<TypedMappedViewTraits<Layout>>;
using UniqueMemoryDc = UniqueResource<MemoryDcTraits>;
using UniqueScreenDc = UniqueResource<ScreenDcTraits>;
using UniqueGlobalMemory = UniqueResource<GlobalMemoryTraits>;
template <typename Interface> using UniqueComPointer = UniqueResource<ComPointerTraits<Interface>>;
// A window of our own that is not a child of another (a child goes with its parent).
using UniqueWindow = UniqueResource<WindowTraits>;
