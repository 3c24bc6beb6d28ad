// Reading a PE image's headers from raw file bytes, never past their end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// The machine codes of the images the launchers are built as, and load: 32-bit x86, x64, ARM64.
inline constexpr std::uint16_t kMachineI386 = 0x014C;
inline constexpr std::uint16_t kMachineAmd64 = 0x8664;
inline constexpr std::uint16_t kMachineArm64 = 0xAA64;

// The offset of the NT headers ("PE\0\0" and the file header), found through the DOS header's
// pointer; none unless the bytes start with "MZ", the pointer is inside the bytes and the
// signature and the whole file header lie inside them.
[[nodiscard]] std::optional<std::size_t> ntHeadersOffset(std::span<const std::uint8_t> image);

// The file header's Machine field of a PE image; none for anything that is not one.
[[nodiscard]] std::optional<std::uint16_t> peMachine(std::span<const std::uint8_t> image);

// The optional header's Subsystem values that decide how Windows starts a program: a windowed
// program gets no console, a console program gets its parent's console or a new one.
inline constexpr std::uint16_t kSubsystemWindows = 2;
inline constexpr std::uint16_t kSubsystemConsole = 3;

// The file offset of the optional header's Subsystem field (the same in PE32 and PE32+); none
// unless the optional header is long enough to hold it.
[[nodiscard]] std::optional<std::size_t> peSubsystemOffset(std::span<const std::uint8_t> image);

// The optional header's Subsystem field; none for anything that is not a PE image holding one.
[[nodiscard]] std::optional<std::uint16_t> peSubsystem(std::span<const std::uint8_t> image);
