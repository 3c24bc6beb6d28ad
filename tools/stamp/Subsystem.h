// The Windows subsystem an executable asks for in its optional header: a console program gets
// a console from Windows when started outside one, a windows program gets none.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

enum class Subsystem : std::uint16_t { windows = 2, console = 3 };

// "console" or "windows", exactly; none for anything else.
[[nodiscard]] std::optional<Subsystem> parseSubsystem(std::wstring_view text);
[[nodiscard]] const wchar_t* subsystemName(Subsystem subsystem);

// The Subsystem field; none when the optional header is too short to hold it.
[[nodiscard]] std::optional<std::uint16_t> subsystemOf(std::span<const std::uint8_t> image);
// Sets the field (the checksum is left for the caller); false when the header cannot hold it.
[[nodiscard]] bool setSubsystem(std::span<std::uint8_t> image, Subsystem subsystem);
