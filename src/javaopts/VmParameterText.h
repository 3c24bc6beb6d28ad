// Splitting the "Virtual Machine Parameters" line into options, and unquoting one option.
#pragma once

#include <string>
#include <vector>

// The options of the line, still quoted, in the order written. Only U+0020 separates; a pair
// of double quotes protects the spaces between them. No option is ever empty.
[[nodiscard]] std::vector<std::wstring> splitVmParameterText(const std::wstring& text);

// Removes the quotes of each quoted stretch in place; an unmatched quote stays.
void removeQuotes(std::wstring& option);

// The end of the quoted stretch that opens at `open`, or npos when no quote closes it. A
// doubled closing quote ends the stretch at its second quote, so that the pair stands for
// one literal quote. Shared by the splitter and the unquoting so both agree on every stretch.
[[nodiscard]] std::size_t quotedStretchEnd(const std::wstring& text, std::size_t open);
