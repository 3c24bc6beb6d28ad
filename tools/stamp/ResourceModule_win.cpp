#include "ResourceModule.h"

namespace {

// Whether every byte of a range is mapped and readable. A damaged or hostile file can claim a
// resource larger than what was mapped of it; copying it would fault.
bool isReadable(const std::uint8_t* data, std::size_t size) {
    auto at = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t end = at + size;
    if (end < at)
        return false;
    while (at < end) {
        MEMORY_BASIC_INFORMATION region{};
        if (!VirtualQuery(reinterpret_cast<const void*>(at), &region, sizeof region) ||
            region.State != MEM_COMMIT || region.Protect == 0 ||
            (region.Protect & (PAGE_NOACCESS | PAGE_GUARD)))
            return false;
        at = reinterpret_cast<std::uintptr_t>(region.BaseAddress) + region.RegionSize;
    }
    return true;
}

} // namespace

ResourceName ResourceName::of(LPCWSTR name) {
    if (IS_INTRESOURCE(name))
        return {static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)), {}};
    return {0, name};
}

std::wstring ResourceName::display() const {
    return id ? std::to_wstring(id) : L"\"" + text + L"\"";
}

bool ResourceModule::open(const std::wstring& path, std::uint32_t& error) {
    // As data: the file is not prepared for running, its code never runs, and a 32-bit
    // launcher opens as well as a 64-bit one.
    module_.reset(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module_) {
        error = GetLastError();
        return false;
    }
    return true;
}

std::vector<ResourceEntry> ResourceModule::all() const {
    std::vector<ResourceName> types;
    EnumResourceTypesW(
        module_.get(),
        [](HMODULE, LPWSTR type, LONG_PTR context) WINAPI -> BOOL {
            reinterpret_cast<std::vector<ResourceName>*>(context)->push_back(
                ResourceName::of(type));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&types));
    std::vector<ResourceEntry> entries;
    for (const ResourceName& type : types) {
        for (const ResourceName& name : names(type.get())) {
            for (const WORD language : languages(type.get(), name)) {
                auto data = bytes(type.get(), name, language);
                if (data)
                    entries.push_back({type, name, language, std::move(*data)});
            }
        }
    }
    return entries;
}

std::vector<ResourceName> ResourceModule::names(LPCWSTR type) const {
    std::vector<ResourceName> found;
    EnumResourceNamesW(
        module_.get(), type,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR context) WINAPI -> BOOL {
            reinterpret_cast<std::vector<ResourceName>*>(context)->push_back(
                ResourceName::of(name));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&found));
    return found;
}

std::vector<WORD> ResourceModule::languages(LPCWSTR type, const ResourceName& name) const {
    std::vector<WORD> found;
    EnumResourceLanguagesW(
        module_.get(), type, name.get(),
        [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR context) WINAPI -> BOOL {
            reinterpret_cast<std::vector<WORD>*>(context)->push_back(language);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&found));
    return found;
}

std::optional<std::vector<std::uint8_t>> ResourceModule::bytesOf(HRSRC resource) const {
    if (!resource)
        return std::nullopt;
    const DWORD size = SizeofResource(module_.get(), resource);
    HGLOBAL loaded = LoadResource(module_.get(), resource);
    const auto* data = static_cast<const std::uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    if (!data || !isReadable(data, size))
        return std::nullopt;
    return std::vector<std::uint8_t>(data, data + size);
}

std::optional<std::vector<std::uint8_t>>
ResourceModule::bytes(LPCWSTR type, const ResourceName& name, WORD language) const {
    return bytesOf(FindResourceExW(module_.get(), type, name.get(), language));
}

std::optional<std::vector<std::uint8_t>> ResourceModule::bytes(LPCWSTR type,
                                                               const ResourceName& name) const {
    return bytesOf(FindResourceW(module_.get(), name.get(), type));
}
