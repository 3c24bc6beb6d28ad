// How Windows starts a program, from its optional header's Subsystem field: windowed (no
// console), or in a console, which Windows makes when the program is not started from one.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

enum class Subsystem { windows, console };

// "windows" or "console", exact case; none for anything else.
[[nodiscard]] std::optional<Subsystem> parseSubsystem(std::wstring_view text);
[[nodiscard]] const wchar_t* subsystemName(Subsystem subsystem);

// The image's subsystem; none when it is not a PE image or its Subsystem field is neither
// of the two a launcher can have.
[[nodiscard]] std::optional<Subsystem> imageSubsystem(std::span<const std::uint8_t> image);

// Sets the optional header's Subsystem field and then the checksum over the changed bytes.
// False, the bytes unchanged, when the image has no optional header holding both fields.
[[nodiscard]] bool setImageSubsystem(std::span<std::uint8_t> image, Subsystem subsystem);
