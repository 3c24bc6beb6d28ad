// How the test runtime answers a console control event, as HotSpot does on Windows: it
// installs a console control handler when the VM is created and turns each event into a
// signal. SIGINT (Ctrl+C) and SIGTERM (the console closing, the user logging off, the system
// shutting down) run the shutdown hooks and end the process with 128 plus the signal's
// number, as Java's own handler for those signals does; SIGBREAK (Ctrl+Break) prints a dump
// of the VM's threads on standard output and the application goes on.
#pragma once

#include <windows.h>

namespace testjvm {

inline constexpr int kSigint = 2;
inline constexpr int kSigterm = 15;
inline constexpr int kSigbreak = 21;

struct ConsoleReaction {
    enum class Kind { NotHandled, Shutdown, ThreadDump } kind = Kind::NotHandled;
    int signal = 0;
    int exitStatus = 0; // for Shutdown
};

ConsoleReaction consoleReaction(DWORD event);

} // namespace testjvm
