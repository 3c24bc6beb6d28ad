// Environment, working directory and output redirection, until they are built.
#include "launcher/Launcher.h"

void Launcher::prepareEnvironment() {}

void Launcher::setWorkingDirectoryToExecutableFolder() {}

bool Launcher::redirectStandardOutput(const std::wstring&) { return true; }

bool Launcher::redirectStandardError(const std::wstring&) { return true; }
