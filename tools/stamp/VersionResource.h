// The version resource (RT_VERSION) of an executable, built from its fields.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Four 16-bit numbers, as the fixed part of a version resource holds a version.
using VersionNumber = std::array<std::uint16_t, 4>;

// "1", "1.2", "1.2.3" or "1.2.3.4": one to four decimal numbers from 0 to 65535, the missing
// ones 0. Nothing else (no blanks, signs or letters), so a typing mistake is refused rather
// than stamped as some other number.
[[nodiscard]] std::optional<VersionNumber> parseVersionNumber(std::wstring_view text);

// The string names written in the resource, in this order, and the language block they are
// written in: US English, Unicode (what Explorer's details read first).
inline constexpr std::array<const wchar_t*, 7> kVersionStringNames = {
    L"ProductName",     L"FileVersion",    L"ProductVersion",  L"CompanyName",
    L"FileDescription", L"LegalCopyright", L"OriginalFilename"};
inline constexpr const wchar_t* kVersionLanguageBlock = L"040904B0";
inline constexpr std::uint16_t kVersionLanguage = 0x0409;
inline constexpr std::uint16_t kVersionCodePage = 1200;

struct VersionFields {
    VersionNumber fileVersion{};
    VersionNumber productVersion{};
    // (name, value); empty values are left out of the resource.
    std::vector<std::pair<std::wstring, std::wstring>> strings;
};

// A VS_VERSIONINFO block: the fixed file info (an application, no flags, no date), one string
// table and the translation that points at it. Values are written as UTF-16 code units.
// None when the texts are too long for the block lengths (64 KiB in all).
[[nodiscard]] std::optional<std::vector<std::uint8_t>>
buildVersionResource(const VersionFields& fields);

// The fields of a version resource, as the Windows version functions read them: the fixed
// versions, and the strings of the table kVersionLanguageBlock (its key in any case) in the
// order of kVersionStringNames. Whatever is missing or damaged reads as empty and zero.
[[nodiscard]] VersionFields parseVersionResource(std::span<const std::uint8_t> bytes);
