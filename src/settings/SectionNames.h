// Which sections of a settings file a read can find anything in.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Whether a section name as the file lists it may be the section a reader asks for, as the
// profile functions match names: without regard to case, and blanks around a name ignored. A
// character outside ASCII matches anything, as some have upper-case forms in ASCII; so the
// answer is false only when the names certainly differ.
bool mayNameSameSection(std::wstring_view listed, std::wstring_view wanted);

// Whether a file whose sections are `listed` may hold a key of the section `wanted`: when one
// listed name may be it, or when it is the nameless part before the first section, which no
// list names.
bool listedSectionsMayHold(const std::vector<std::wstring>& listed, std::wstring_view wanted);
