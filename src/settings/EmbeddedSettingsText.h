// The settings text a launcher copy may carry among its own resources, written there by the
// stamping tool, and the mark by which the tool knows an executable is a launcher of ours.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace embedded {

// Both are RCDATA resources with these string names. The settings resource holds the text in
// UTF-16LE after a byte-order mark, lines separated by CR LF, not enciphered: anyone can read
// an executable's resources, so hiding the text would protect nothing and would only keep
// people who troubleshoot a launch from reading it.
inline constexpr const wchar_t* settingsResourceName = L"QOVA_SETTINGS";
// Holds the 16-bit little-endian format number of the resources this launcher understands.
inline constexpr const wchar_t* launcherMarkResourceName = L"QOVA_LAUNCHER";
inline constexpr std::uint16_t resourceFormat = 1;

} // namespace embedded

// The text of a settings resource; empty for anything that is not UTF-16LE text after a
// byte-order mark (a damaged resource counts as none).
[[nodiscard]] std::wstring decodeEmbeddedSettingsText(std::span<const std::uint8_t> bytes);

// The resource bytes for a settings text. Every wchar_t is one UTF-16 code unit (on Windows,
// where this is used, that is what a wchar_t is).
[[nodiscard]] std::vector<std::uint8_t> encodeEmbeddedSettingsText(const std::wstring& text);

// Whether [start, start + length) lies inside [base, base + size), without overflow.
[[nodiscard]] bool rangeInside(std::uintptr_t base, std::size_t size, std::uintptr_t start,
                               std::size_t length);
