// The requested execution level in an application manifest, changed without touching any
// other byte of it.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The levels Windows knows, spelled as the manifest must spell them (exact case).
inline constexpr std::array<std::string_view, 3> kExecutionLevels = {
    "asInvoker", "highestAvailable", "requireAdministrator"};

[[nodiscard]] bool isExecutionLevel(std::string_view level);

// Where the value of the "level" attribute of the first requestedExecutionLevel element
// (with or without a namespace prefix, outside comments) lies: between its quotes.
struct TextRange {
    std::size_t offset = 0;
    std::size_t length = 0;
};
[[nodiscard]] std::optional<TextRange> findExecutionLevel(std::string_view manifest);

// The manifest with that value replaced; none when it has no such attribute.
[[nodiscard]] std::optional<std::string> withExecutionLevel(std::string_view manifest,
                                                            std::string_view level);
