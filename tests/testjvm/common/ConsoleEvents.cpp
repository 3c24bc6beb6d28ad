#include "ConsoleEvents.h"

namespace testjvm {

ConsoleReaction consoleReaction(DWORD event) {
    using Kind = ConsoleReaction::Kind;
    switch (event) {
    case CTRL_C_EVENT:
        return {Kind::Shutdown, kSigint, 128 + kSigint};
    case CTRL_BREAK_EVENT:
        return {Kind::ThreadDump, kSigbreak, 0};
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        return {Kind::Shutdown, kSigterm, 128 + kSigterm};
    default:
        return {};
    }
}

} // namespace testjvm
