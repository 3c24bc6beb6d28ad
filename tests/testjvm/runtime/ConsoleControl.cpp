// The VM's console: its control handler, standard input, and the shutdown hooks that an
// exit, a signal or the VM's destruction runs.
#include "ConsoleEvents.h"
#include "TextCodec.h"
#include "Vm.h"

namespace testjvm {

namespace {

// The handler runs on a thread the system starts for the event; like the VM's own signal
// threads it is attached under the signal's name while it prints.
JavaThread& signalThread(int signal) {
    if (JavaThread* thread = currentThread())
        return *thread;
    Vm& vm = Vm::instance();
    std::lock_guard guard(vm.lock);
    return attachThread(GetCurrentThreadId(),
                        signal == kSigint ? L"SIGINT handler" : L"SIGTERM handler", true);
}

void printThreadDump() {
    Vm& vm = Vm::instance();
    std::wstring text = L"Full thread dump Qova test VM:\r\n";
    {
        std::lock_guard guard(vm.lock);
        for (const auto& thread : vm.threads)
            if (thread->attached)
                text += L"\r\n\"" + thread->name + L"\"" + (thread->daemon ? L" daemon" : L"") +
                        L" tid=" + std::to_wstring(thread->id) + L"\r\n";
    }
    writeStandardHandle(1, text + L"\r\n");
}

BOOL WINAPI consoleControlHandler(DWORD event) {
    const ConsoleReaction reaction = consoleReaction(event);
    Vm::instance().recordNumber("console.event", static_cast<long long>(event));
    switch (reaction.kind) {
    case ConsoleReaction::Kind::ThreadDump:
        printThreadDump();
        return TRUE;
    case ConsoleReaction::Kind::Shutdown:
        // The process ends here, before the handler returns: for the console closing, Windows
        // would end it as soon as the handler returned, cutting the hooks short.
        (void)signalThread(reaction.signal);
        systemExit(reaction.exitStatus);
    case ConsoleReaction::Kind::NotHandled:
        break;
    }
    return FALSE;
}

} // namespace

void installConsoleControlHandler() {
    SetConsoleCtrlHandler(&consoleControlHandler, TRUE);
}

void runShutdownHooks() {
    Vm& vm = Vm::instance();
    std::vector<std::wstring> hooks;
    {
        std::lock_guard guard(vm.lock);
        hooks.swap(vm.shutdownHooks);
    }
    JavaThread* thread = currentThread();
    for (const std::wstring& text : hooks) {
        vm.recordText("shutdownHook", text);
        if (thread)
            printLine(*thread, vm.systemOut, text);
        else
            writeStandardHandle(1, text + kLineSeparator);
    }
}

// Bytes up to the line end (CR LF or LF), taken as UTF-8; empty at the end of the input.
std::wstring readStandardInputLine() {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    std::string bytes;
    char c = 0;
    DWORD read = 0;
    while (input && input != INVALID_HANDLE_VALUE && ReadFile(input, &c, 1, &read, nullptr) &&
           read == 1 && c != '\n')
        bytes += c;
    if (!bytes.empty() && bytes.back() == '\r')
        bytes.pop_back();
    Vm::instance().recordBytes("stdin", bytes);
    return fromUtf8(bytes);
}

} // namespace testjvm
