// %NAME% references in settings text, replaced by environment variables.
#pragma once

#include <functional>
#include <string>

// Sets value and returns true when the variable is defined. The Windows layer answers from the
// process environment (names compared without regard to case there).
using EnvironmentLookup = std::function<bool(const std::wstring& name, std::wstring& value)>;

// Replaces, in place, every %NAME% whose variable is defined by its value. A reference to an
// unknown variable, an empty name ("%%") and a "%" without a closing one stay as written.
// Values are inserted as they are: a "%" inside a value is not expanded again.
void expandEnvironmentReferences(std::wstring& text, const EnvironmentLookup& lookup);
