// Loading the JVM and running the Java main thread, until they are built.
#include "launcher/Launcher.h"

bool Launcher::loadJvmLibrary(const std::wstring&) { return false; }

bool Launcher::buildJavaOptions() { return false; }

bool Launcher::createVm() { return false; }

size_t Launcher::defaultThreadStackSize() const { return 0; }

void Launcher::checkPairedRuntime() {}

int Launcher::runJavaMainThread() { return -1; }

bool Launcher::invokeMain() { return false; }

void Launcher::destroyJavaVm() {}
