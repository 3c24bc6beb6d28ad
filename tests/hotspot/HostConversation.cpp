// What the test host does around the launcher's conversation with the VM, where the launcher
// shows messages and writes its trace: each becomes a line of the host's own record, which the
// tier reads back with what the Java side recorded.
#include "HostRecord.h"

#include "jvm/StackTraceText.h"
#include "jvm/VmConversation.h"
#include "launcher/LaunchTrace.h"

#include <unistd.h>

#include <string>

void VmConversation::reportFailure(unsigned messageId, const std::wstring& text1,
                                   const std::wstring& text2) {
    hostRecord("message", {std::to_wstring(messageId), text1, text2});
}

void VmConversation::reportCreationFailure(jint result) {
    hostRecord("creation-failed", {std::to_wstring(result), std::to_wstring(creationFailureReason(result))});
    hostRecord("message", {L"203", L"213", std::to_wstring(creationFailureReason(result))});
}

void VmConversation::onMainStarting() { hostRecord("main-starting", {}); }

void VmConversation::onMainException(JNIEnv* env, jthrowable exception) {
    // The text the launcher's exception dialog would show.
    const std::wstring text = stackTraceText(exception, env);
    hostRecord("exception", {text.substr(0, text.find_first_of(L"\r\n"))});
}

void VmConversation::onMainEnded() { hostRecord("main-ended", {}); }

void VmConversation::endProcess(int code) {
    hostRecord("end-process", {std::to_wstring(code)});
    // As ExitProcess: at once, with the code as far as a Linux status holds it.
    _exit(code & 0xFF);
}

// The trace events the conversation writes; the others belong to the launcher's Windows stages.
void traceExit(int code, const char* by) {
    hostRecord("trace-exit", {std::to_wstring(code), std::wstring(by, by + std::char_traits<char>::length(by))});
}
void traceAbort() { hostRecord("trace-abort", {}); }
void traceVmOptions(const std::vector<JavaVMOption>&) {}
void traceVmCreated(int result) { hostRecord("vm-created", {std::to_wstring(result)}); }
void traceMain(const std::wstring& name, const char* outcome) {
    hostRecord("trace-main", {name, std::wstring(outcome, outcome + std::char_traits<char>::length(outcome))});
}
void traceMainArguments(const std::vector<std::wstring>&) {}
void traceMainClass(const std::wstring& name, const char*) { hostRecord("main-class", {name}); }
