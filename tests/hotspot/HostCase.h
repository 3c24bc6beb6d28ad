// One case of the VM table run in this process (a process gets one VM).
#pragma once

#include "VmCases.h"

#include <string>

// `data` is the folder the tier laid the application out in (lib, mods, lib/javafx). Returns
// the process's exit code, as the launcher's would be.
int runHostCase(const vmcases::VmCase& row, const std::string& libjvm, const std::string& data);
