// Stages whose full behaviour is still being built. Each keeps the outcome the launch
// sequence defines for a stage that is not there yet, and moves to its own file when built.
#include "launcher/Launcher.h"

bool Launcher::readApplicationSettings() {
    // Single-instance operation is not offered yet: every process is an ordinary one.
    std::wstring path;
    return settingsFilePath(path);
}

bool Launcher::selectRuntime() {
    // No runtime can be chosen yet, and without the missing-runtime dialog the search ends
    // in failure without a message.
    return false;
}

void Launcher::rememberRuntime(const std::wstring&) {}

void Launcher::prepareEnvironment() {}

void Launcher::setWorkingDirectoryToExecutableFolder() {}

bool Launcher::loadJvmLibrary(const std::wstring&) { return false; }

bool Launcher::buildJavaOptions() { return false; }

bool Launcher::createVm() { return false; }

size_t Launcher::defaultThreadStackSize() const { return 0; }

void Launcher::checkPairedRuntime() {}

int Launcher::runJavaMainThread() { return -1; }

bool Launcher::invokeMain() { return false; }

int Launcher::startPairedProduct() { return 0; }

int Launcher::waitForFirstInstance() { return 0; }

void Launcher::startSplash() {}

void Launcher::closeSplash() {}

void Launcher::destroyJavaVm() {}

void Launcher::stopSingleInstance() {}
