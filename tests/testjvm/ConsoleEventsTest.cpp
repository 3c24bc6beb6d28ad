// The test runtime's answer to each console control event, which Wine cannot deliver for
// every event (Ctrl+Break and the console closing are only reachable here).
#include "ConsoleEvents.h"

#include <gtest/gtest.h>

using namespace testjvm;

namespace {

// Faults caught: Ctrl+Break ending the application instead of dumping its threads, a closing
// console not running the shutdown hooks, exit codes other than 128 plus the signal (130,
// 143), and an unknown event claimed as handled (which would hide it from other handlers).
TEST(ConsoleEvents, EachEventIsTheSignalHotSpotRaisesForIt) {
    using Kind = ConsoleReaction::Kind;
    const struct {
        DWORD event;
        Kind kind;
        int exitStatus;
    } cases[] = {
        {CTRL_C_EVENT, Kind::Shutdown, 130},        {CTRL_BREAK_EVENT, Kind::ThreadDump, 0},
        {CTRL_CLOSE_EVENT, Kind::Shutdown, 143},    {CTRL_LOGOFF_EVENT, Kind::Shutdown, 143},
        {CTRL_SHUTDOWN_EVENT, Kind::Shutdown, 143}, {7, Kind::NotHandled, 0},
    };
    for (const auto& c : cases) {
        const ConsoleReaction reaction = consoleReaction(c.event);
        EXPECT_EQ(reaction.kind, c.kind) << c.event;
        EXPECT_EQ(reaction.exitStatus, c.exitStatus) << c.event;
    }
}

} // namespace
