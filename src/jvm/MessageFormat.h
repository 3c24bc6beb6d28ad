// Formatting of the string-table messages: "%s" takes a text, "%d" a 32-bit signed number.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

using MessageArgument = std::variant<std::wstring, int32_t>;

// Replaces each "%s" and "%d" of format by the next argument in order and "%%" by "%".
// The formats come from our own string table, but a placeholder without an argument (or of
// the other kind) never reads past what was given: it becomes empty text or the number's
// digits, whichever the argument holds.
std::wstring formatMessage(const std::wstring& format, const std::vector<MessageArgument>& arguments);
