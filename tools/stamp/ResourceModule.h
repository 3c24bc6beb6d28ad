// An executable's resources, read through the Windows resource functions from the file mapped
// as data (never run, and of either bitness).
#pragma once

#include "launcher/UniqueHandle.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A resource type or name: a number, or a string.
struct ResourceName {
    WORD id = 0;
    std::wstring text; // used when id is 0

    static ResourceName of(LPCWSTR name);
    LPCWSTR get() const { return id ? MAKEINTRESOURCEW(id) : text.c_str(); }
    std::wstring display() const;
    bool operator==(const ResourceName&) const = default;
};

// One resource in one language, with its bytes.
struct ResourceEntry {
    ResourceName type;
    ResourceName name;
    WORD language = 0;
    std::vector<std::uint8_t> data;
};

class ResourceModule {
  public:
    // False with the Windows error code when the file cannot be mapped as an image's data.
    [[nodiscard]] bool open(const std::wstring& path, std::uint32_t& error);

    // Every resource of the file, in the order of the resource directory.
    std::vector<ResourceEntry> all() const;
    // Names of the resources of a type, in the order of the resource directory.
    std::vector<ResourceName> names(LPCWSTR type) const;
    std::vector<WORD> languages(LPCWSTR type, const ResourceName& name) const;
    // The bytes of one resource in one language; none when it is not there.
    std::optional<std::vector<std::uint8_t>> bytes(LPCWSTR type, const ResourceName& name,
                                                   WORD language) const;
    // The bytes in whichever language the resource functions pick first.
    std::optional<std::vector<std::uint8_t>> bytes(LPCWSTR type, const ResourceName& name) const;

    void close() { module_.reset(); }

  private:
    std::optional<std::vector<std::uint8_t>> bytesOf(HRSRC resource) const;
    UniqueModule module_;
};
