#include "jvm/VmHooks.h"

#include "jvm/VmConversation.h"
#include "launcher/LaunchTrace.h"

// The hooks' signatures carry no context, so they reach the conversation through the process's
// one conversation pointer. They may run on any Java thread, while the launcher is in any stage.
void JNICALL jvmExitHook(jint status) {
    traceExit(status, "System.exit");
    if (VmConversation* conversation = currentConversation)
        conversation->vmExiting(status);
}

void JNICALL jvmAbortHook() {
    traceAbort();
    if (VmConversation* conversation = currentConversation)
        conversation->vmAborting();
}
