// Stages whose full behaviour is still being built. Each keeps the outcome the launch
// sequence defines for a stage that is not there yet, and moves to its own file when built.
#include "launcher/Launcher.h"

bool Launcher::startSplash() { return true; }

void Launcher::closeSplash() {}
