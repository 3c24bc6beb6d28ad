// Which sections and keys of a settings file a read can find anything in, judged from the
// names the profile functions list.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Whether a name as the profile functions list it may be the name a reader asks for, as they
// match names: without regard to case, and blanks around a name ignored. A character outside
// ASCII matches anything, as some have upper-case forms in ASCII; so the answer is false only
// when the names certainly differ.
bool mayBeSameName(std::wstring_view listed, std::wstring_view wanted);

// How many of the listed names may be the wanted one.
std::size_t namesThatMayBe(const std::vector<std::wstring>& listed, std::wstring_view wanted);

// Whether a name is empty or blank: the nameless part before the first section, which no list
// of sections names.
bool isBlankName(std::wstring_view name);
