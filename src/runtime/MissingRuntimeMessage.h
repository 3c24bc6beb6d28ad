// The text of the missing-runtime dialog: which runtime to download, from the version bounds.
#pragma once

#include "runtime/JavaVersion.h"

#include <string>

// Gives the string-table text of an id.
using StringLoader = std::wstring (*)(unsigned id);

// The message for the JVM type and the bounds, built from the texts `load` gives: the server
// or the general sentence with the version-requirement phrase in its place.
std::wstring composeMissingRuntimeMessage(int jvmType, const JavaVersion& minimum,
                                          const JavaVersion& maximum, StringLoader load);

// The same with the executable's own string table.
std::wstring composeMissingRuntimeMessage(int jvmType, const JavaVersion& minimum,
                                          const JavaVersion& maximum);
