#include "launcher/CommandLine.h"
#include "launcher/Launcher.h"

void Launcher::parseCommandLine() {
    appArguments = argumentsFromCommandLine(GetCommandLineW());
}

bool Launcher::hasArgument(const std::wstring& text) const {
    return ::hasArgument(appArguments, text);
}
