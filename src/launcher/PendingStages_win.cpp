// Stages whose full behaviour is still being built. Each keeps the outcome the launch
// sequence defines for a stage that is not there yet, and moves to its own file when built.
#include "launcher/Launcher.h"

bool Launcher::readApplicationSettings() {
    // Single-instance operation is not offered yet: every process is an ordinary one.
    std::wstring path;
    return settingsFilePath(path);
}

int Launcher::startPairedProduct() { return 0; }

int Launcher::waitForFirstInstance() { return 0; }

void Launcher::stopSingleInstance() {}
