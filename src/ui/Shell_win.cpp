#include "ui/Shell.h"

#include "launcher/SystemLibrary.h"

#include <shlobj.h>

#include <atomic>

namespace {

// Loaded at the first use and kept for the life of the process on purpose: the shell may finish
// an open on threads of its own after the call has returned, running code of these libraries.
// Threads that race here load the same module and store the same handle; the extra reference
// only keeps it loaded, as intended. (A guarded static would bring the thread library into the
// exe for this one place.)
HMODULE keptSystemLibrary(std::atomic<HMODULE>& slot, UniqueModule (*load)()) {
    HMODULE library = slot.load(std::memory_order_acquire);
    if (!library) {
        library = load().release();
        slot.store(library, std::memory_order_release);
    }
    return library;
}

HMODULE shellLibrary() {
    static std::atomic<HMODULE> library{nullptr};
    return keptSystemLibrary(library, [] { return loadSystemLibrary(L"shell32.dll"); });
}

HMODULE oleLibrary() {
    static std::atomic<HMODULE> library{nullptr};
    return keptSystemLibrary(library, [] { return loadSystemLibrary(L"ole32.dll"); });
}

// The calling thread in a single-threaded COM apartment for as long as the object lives, as the
// shell's folder browser and its handlers of "open" need; undone only if this object did it.
class ComApartment {
  public:
    ComApartment() {
        const auto initialize =
            libraryFunction<HRESULT(WINAPI*)(LPVOID, DWORD)>(oleLibrary(), "CoInitializeEx");
        uninitialize_ = libraryFunction<void(WINAPI*)()>(oleLibrary(), "CoUninitialize");
        // COINIT_DISABLE_OLE1DDE: the shell would otherwise try DDE with old programs.
        if (!initialize || !uninitialize_ ||
            FAILED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)))
            uninitialize_ = nullptr;
    }
    ~ComApartment() {
        if (uninitialize_)
            uninitialize_();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    void(WINAPI* uninitialize_)() = nullptr;
};

// An item list the folder browser returned, freed with the COM allocator.
class UniqueItemList {
  public:
    explicit UniqueItemList(PIDLIST_ABSOLUTE items) : items_(items) {}
    ~UniqueItemList() {
        const auto free = libraryFunction<void(WINAPI*)(LPVOID)>(oleLibrary(), "CoTaskMemFree");
        if (items_ && free)
            free(items_);
    }
    UniqueItemList(const UniqueItemList&) = delete;
    UniqueItemList& operator=(const UniqueItemList&) = delete;

    PIDLIST_ABSOLUTE get() const { return items_; }

  private:
    PIDLIST_ABSOLUTE items_;
};

} // namespace

bool openWithShell(const std::wstring& address) {
    const auto execute =
        libraryFunction<HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT)>(
            shellLibrary(), "ShellExecuteW");
    if (!execute)
        return false;
    const ComApartment apartment;
    // Not a real instance handle: a value above 32 means success, anything else an error.
    const HINSTANCE result =
        execute(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

std::optional<std::wstring> browseForFolder(HWND owner, const std::wstring& title) {
    const auto browse = libraryFunction<PIDLIST_ABSOLUTE(WINAPI*)(LPBROWSEINFOW)>(
        shellLibrary(), "SHBrowseForFolderW");
    // The form with a buffer size: the older one fills a buffer of the classic path length and
    // fails on a deeper folder.
    const auto pathOf = libraryFunction<BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, LPWSTR, DWORD, int)>(
        shellLibrary(), "SHGetPathFromIDListEx");
    if (!browse || !pathOf)
        return std::nullopt;
    // The new dialog style needs the thread in a single-threaded apartment.
    const ComApartment apartment;
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
    const UniqueItemList chosen(browse(&info));
    if (!chosen.get())
        return std::nullopt;
    // As long as any path can be; the buffer lives only for this call.
    std::wstring path(32768, L'\0');
    if (!pathOf(chosen.get(), path.data(), static_cast<DWORD>(path.size()), 0))
        return std::wstring();
    path.resize(wcslen(path.c_str()));
    return path;
}
