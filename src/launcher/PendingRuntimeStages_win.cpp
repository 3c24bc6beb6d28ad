// Runtime discovery, until it is built: the search ends in failure without a message (there
// is no missing-runtime dialog yet either).
#include "launcher/Launcher.h"

bool Launcher::selectRuntime() { return false; }

void Launcher::rememberRuntime(const std::wstring&) {}
