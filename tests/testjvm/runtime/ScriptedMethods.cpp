// The scripted classes' methods: they record how they were called and then run the steps that
// the script gives for main or secondaryMain.
#include "Record.h"
#include "TextCodec.h"
#include "Vm.h"

#include <optional>

namespace testjvm {

namespace {

using Args = std::vector<jvalue>;

struct ThreadStart {
    JavaThread* thread = nullptr;
    DWORD lifetimeMs = 0;
    bool exits = false; // calls System.exit(exitStatus) instead of living lifetimeMs
    jint exitStatus = 0;
};

DWORD WINAPI scriptedThreadProc(void* parameter) {
    const ThreadStart start = *static_cast<ThreadStart*>(parameter);
    delete static_cast<ThreadStart*>(parameter);
    if (start.exits)
        systemExit(start.exitStatus);
    Sleep(start.lifetimeMs);
    detachThread(*start.thread);
    return 0;
}

// Registered as attached before it runs, so that DestroyJavaVM called right after main returns
// already waits for it.
void startJavaThread(long long lifetimeMs, bool daemon,
                     std::optional<jint> exitStatus = std::nullopt) {
    auto* start = new ThreadStart;
    start->lifetimeMs = static_cast<DWORD>(lifetimeMs);
    start->exits = exitStatus.has_value();
    start->exitStatus = exitStatus.value_or(0);
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, scriptedThreadProc, start, CREATE_SUSPENDED, &id);
    if (!thread)
        fatal("cannot start a scripted Java thread");
    Vm& vm = Vm::instance();
    {
        std::lock_guard guard(vm.lock);
        start->thread =
            &attachThread(id, L"Thread-" + std::to_wstring(vm.nextThreadNumber++), daemon);
    }
    ResumeThread(thread);
    CloseHandle(thread);
}

// "pkg/Class: message" or "pkg/Class" (dots are taken as slashes).
Object* scriptedThrowable(const std::wstring& text, std::vector<std::wstring> frames) {
    const size_t colon = text.find(L": ");
    std::string className = toModifiedUtf8(text.substr(0, colon));
    for (char& c : className)
        if (c == '.')
            c = '/';
    std::optional<std::wstring> message;
    if (colon != std::wstring::npos)
        message = text.substr(colon + 2);
    return newThrowable(className, message, std::move(frames));
}

Object* currentStream(bool err) {
    Vm& vm = Vm::instance();
    std::lock_guard guard(vm.lock);
    return err ? vm.systemErr : vm.systemOut;
}

// Records the call: the method, the thread and the String[] it was given.
std::vector<std::wstring> recordCall(Method* method, const Args& args) {
    Vm::instance().recordClock("call");
    std::string lines =
        recordLine(key::kCallMethod, textValue(fromModifiedUtf8(method->display())));
    lines += recordLine(key::kCallThread, std::to_string(GetCurrentThreadId()));
    std::vector<std::wstring> arguments;
    // launch(Class, String[]) names the application class before its arguments.
    const bool launch = method->descriptor.starts_with("(Ljava/lang/Class;[Ljava/lang/String;");
    if (launch) {
        Object* launched = checked(args.at(0).l, method->name.c_str());
        if (!launched || launched->kind != ObjectKind::Class)
            fatal(method->display() + " called without a Class");
        lines += recordLine(key::kCallClass,
                            textValue(fromModifiedUtf8(dotted(launched->classValue->name))));
    }
    if (launch || method->descriptor.starts_with("([Ljava/lang/String;")) {
        Object* array = checked(args.at(launch ? 1 : 0).l, method->name.c_str());
        if (!array) {
            lines += recordLine(key::kCallArgumentCount, "-1");
        } else {
            if (array->kind != ObjectKind::ObjectArray || array->cls->name != "[Ljava/lang/String;")
                fatal(method->display() + " called with an argument that is not a String[]");
            lines += recordLine(key::kCallArgumentCount, std::to_string(array->elements.size()));
            for (Object* element : array->elements) {
                if (!element) {
                    lines += recordLine(key::kCallNullArgument, "");
                    arguments.emplace_back(L"null");
                    continue;
                }
                lines += recordLine(key::kCallArgument, textValue(element->chars));
                arguments.push_back(element->chars);
            }
        }
    }
    Vm::instance().recordLines(lines);
    return arguments;
}

jvalue runActions(JavaThread& thread, Method* method, const std::vector<Action>& actions,
                  const std::vector<std::wstring>& arguments) {
    jvalue result{};
    const std::string className = dotted(method->owner->name);
    const std::string simpleName = className.substr(className.rfind('.') + 1);
    const std::wstring ownFrame =
        fromModifiedUtf8(className + "." + method->name + "(" + simpleName + ".java)");
    for (size_t i = 0; i < actions.size() && !thread.pending; ++i) {
        const Action& action = actions[i];
        switch (action.kind) {
        case Action::Kind::PrintOut:
        case Action::Kind::PrintErr:
            printLine(thread, currentStream(action.kind == Action::Kind::PrintErr), action.text);
            break;
        case Action::Kind::PrintArgs:
            for (const std::wstring& argument : arguments)
                printLine(thread, currentStream(action.text == L"err"), argument);
            break;
        case Action::Kind::Sleep:
            Sleep(static_cast<DWORD>(action.number));
            break;
        case Action::Kind::Thread:
        case Action::Kind::DaemonThread:
            startJavaThread(action.number, action.kind == Action::Kind::DaemonThread);
            break;
        case Action::Kind::Throw: {
            Object* top = scriptedThrowable(action.text, {ownFrame});
            Object* last = top;
            int causeNumber = 1;
            while (i + 1 < actions.size() && actions[i + 1].kind == Action::Kind::Cause) {
                const std::wstring causeFrame =
                    fromModifiedUtf8(className + ".cause" + std::to_string(causeNumber++) + "(" +
                                     simpleName + ".java)");
                last->cause = scriptedThrowable(actions[++i].text, {causeFrame, ownFrame});
                last = last->cause;
            }
            thread.pending = top;
            break;
        }
        case Action::Kind::Cause:
            break; // only meaningful right after a Throw
        case Action::Kind::Exit:
            systemExit(static_cast<jint>(action.number));
        case Action::Kind::ExitFromThread:
            // As Thread.join on a thread that exits the VM: it never returns.
            startJavaThread(0, false, static_cast<jint>(action.number));
            for (;;)
                Sleep(INFINITE);
        case Action::Kind::Abort:
            vmAbort();
        case Action::Kind::Return:
            result.j = 0;
            result.i = static_cast<jint>(action.number);
            break;
        case Action::Kind::WaitFor:
            waitForGate(action.text);
            break;
        case Action::Kind::ShutdownHook: {
            Vm& vm = Vm::instance();
            std::lock_guard guard(vm.lock);
            vm.shutdownHooks.push_back(action.text);
            break;
        }
        case Action::Kind::ReadLine:
            printLine(thread, currentStream(false), action.text + readStandardInputLine());
            break;
        case Action::Kind::Signal: {
            const std::wstring path = Vm::instance().home + L"\\" + action.text;
            const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE)
                fatal("cannot create the signal file");
            CloseHandle(file);
            break;
        }
        }
    }
    return result;
}

} // namespace

NativeCode scriptedMethodCode(Method* method) {
    return [method](JavaThread& thread, Object*, const Args& args) {
        const std::vector<std::wstring> arguments = recordCall(method, args);
        Vm& vm = Vm::instance();
        static const std::vector<Action> noActions;
        const bool startsApplication = method->name == "main" || method->name == "launch";
        const std::vector<Action>& actions = startsApplication ? vm.script.mainActions
                                             : method->name == "secondaryMain"
                                                 ? vm.script.secondaryMainActions
                                             : method->name == "stop" ? vm.script.stopActions
                                                                      : noActions;
        const jvalue result = runActions(thread, method, actions, arguments);
        if (method->returnCode() == 'I' && !thread.pending)
            vm.record(key::kCallResult,
                      std::to_string(GetCurrentThreadId()) + " " + std::to_string(result.i));
        return result;
    };
}

} // namespace testjvm
