// A launcher whose settings say "Application Type=service": run by the Service Control Manager
// when it started the process, otherwise from a prompt as any other application.
#pragma once

#include <string>

class Launcher;

// The rest of the launch, after the settings were read (settingsRead false: they could not
// be, and the launch only reports why). The result is the process's exit code.
[[nodiscard]] int runService(Launcher& launcher, bool settingsRead);

// A message of a service started by the Service Control Manager: an entry in the Application
// event log, and a line in the "Error File" when there is one.
void reportServiceMessage(const Launcher& launcher, const std::wstring& text);
