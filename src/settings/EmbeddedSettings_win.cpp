#include "launcher/Launcher.h"
#include "settings/EmbeddedSettingsText.h"

namespace {

// The bytes of the launcher's image as the loader mapped it. The loader has checked these
// headers already, or the process would not be running.
std::span<const std::uint8_t> ownImage() {
    const auto* base = reinterpret_cast<const std::uint8_t*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    return {base, nt->OptionalHeader.SizeOfImage};
}

} // namespace

std::wstring Launcher::embeddedSettingsText() const {
    // Written by the stamping tool in the neutral language; FindResourceW falls back to any
    // language there is, so a copy whose resource carries another one still finds it.
    HRSRC resource = FindResourceW(nullptr, embedded::settingsResourceName, RT_RCDATA);
    if (!resource)
        return {};
    const DWORD size = SizeofResource(nullptr, resource);
    HGLOBAL loaded = LoadResource(nullptr, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    // A damaged copy could give a size that runs past the end of the mapped image: read
    // nothing rather than fault.
    const std::span<const std::uint8_t> image = ownImage();
    if (!data || !rangeInside(reinterpret_cast<std::uintptr_t>(image.data()), image.size(),
                              reinterpret_cast<std::uintptr_t>(data), size))
        return {};
    return decodeEmbeddedSettingsText({static_cast<const std::uint8_t*>(data), size});
}
