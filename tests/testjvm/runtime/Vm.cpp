#include "Vm.h"

#include "Record.h"
#include "RuntimeFolder.h"
#include "TextCodec.h"

#include <atomic>

namespace testjvm {

namespace {

std::string scriptError;
std::atomic<Vm*> theVm{nullptr};
std::mutex creationLock;

} // namespace

// Setting up the classes already calls back into instance(), so the pointer is published before
// the set-up runs (under the VM's lock, which every later user of that state takes).
Vm& Vm::instance() {
    if (Vm* existing = theVm.load(std::memory_order_acquire))
        return *existing;
    {
        std::lock_guard guard(creationLock);
        if (!theVm.load()) {
            Vm* vm = new Vm;
            std::lock_guard vmGuard(vm->lock);
            theVm.store(vm, std::memory_order_release);
            vm->recordNumber(key::kLoad, GetCurrentProcessId());
            vm->recordText(key::kLoadModule, modulePathOf(reinterpret_cast<const void*>(&fatal)));
            bootstrapClasses(*vm);
        }
    }
    if (!scriptError.empty()) {
        const std::string error = scriptError;
        scriptError.clear();
        fatal("test runtime script: " + error);
    }
    return *theVm.load();
}

Vm::Vm() {
    javaVm.functions = invokeInterface();
    loadScript();
}

void Vm::loadScript() {
    const std::wstring folder =
        findScriptFolder(moduleFolderOf(reinterpret_cast<const void*>(&fatal)));
    if (folder.empty())
        return;
    home = folder;
    std::string text;
    if (!readWholeFile(folder + L"\\" + kScriptFileName, text))
        scriptError = "cannot read the script";
    else
        parseScript(text, script, scriptError);
    recordFile_ = std::make_unique<RecordAppender>(folder + L"\\" + kRecordFileName);
}

void Vm::recordLines(const std::string& lines) {
    std::lock_guard guard(recordLock_);
    if (recordFile_)
        recordFile_->append(lines);
}
void Vm::record(std::string_view key, std::string_view escapedValue) {
    recordLines(recordLine(key, escapedValue));
}

void Vm::recordText(std::string_view key, std::wstring_view text) {
    record(key, textValue(text));
}

void Vm::recordNumber(std::string_view key, long long number) {
    record(key, std::to_string(number));
}

void Vm::recordClock(std::string_view event, long long ticks) {
    if (ticks == 0) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        ticks = now.QuadPart;
    }
    record(key::kClock, std::string(event) + " " + std::to_string(ticks));
}

void Vm::recordBytes(std::string_view key, std::string_view bytes) {
    record(key, escapeValue(bytes, true));
}

void waitForGate(const std::wstring& name) {
    Vm& vm = Vm::instance();
    vm.recordText(key::kGateWaiting, name);
    const std::wstring path = vm.home + L"\\" + name;
    for (DWORD waited = 0; waited < 120000; waited += 20) {
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
            vm.recordText(key::kGatePassed, name);
            return;
        }
        Sleep(20);
    }
    vm.recordText(key::kGateTimedOut, name);
}

void fatal(const std::string& message) {
    const std::wstring text = fromUtf8(message);
    writeStandardHandle(2, L"FATAL ERROR in native method: " + text + kLineSeparator);
    Vm::instance().recordText(key::kFatal, text);
    TerminateProcess(GetCurrentProcess(), kFatalExitCode);
    for (;;)
        Sleep(INFINITE);
}

JavaThread* currentThread() {
    Vm& vm = Vm::instance();
    std::lock_guard guard(vm.lock);
    const DWORD id = GetCurrentThreadId();
    for (const auto& thread : vm.threads)
        if (thread->attached && thread->id == id)
            return thread.get();
    return nullptr;
}

JavaThread& threadOf(JNIEnv* env, const char* function) {
    Vm& vm = Vm::instance();
    std::lock_guard guard(vm.lock);
    for (const auto& thread : vm.threads) {
        if (&thread->env != env)
            continue;
        if (!thread->attached)
            fatal(std::string(function) + ": JNIEnv of a thread that has detached");
        if (thread->id != GetCurrentThreadId())
            fatal(std::string(function) + ": JNIEnv used on a thread other than its own");
        if (vm.state != Vm::State::Alive)
            fatal(std::string(function) + ": called after DestroyJavaVM");
        return *thread;
    }
    fatal(std::string(function) + ": not a JNIEnv of this VM");
}

JavaThread& attachThread(DWORD id, std::wstring name, bool daemon) {
    Vm& vm = Vm::instance();
    std::lock_guard guard(vm.lock);
    auto thread = std::make_unique<JavaThread>();
    thread->env.functions = nativeInterface();
    thread->id = id;
    thread->handle = OpenThread(SYNCHRONIZE | THREAD_QUERY_LIMITED_INFORMATION, FALSE, id);
    thread->name = std::move(name);
    thread->daemon = daemon;
    vm.recordText(key::kAttach, std::to_wstring(id) + L" " + thread->name + L" " +
                                    (daemon ? L"daemon" : L"nondaemon"));
    vm.threads.push_back(std::move(thread));
    vm.threadsChanged.notify_all();
    return *vm.threads.back();
}

void detachThread(JavaThread& thread) {
    Vm& vm = Vm::instance();
    std::lock_guard guard(vm.lock);
    thread.attached = false;
    vm.recordNumber(key::kDetach, thread.id);
    vm.threadsChanged.notify_all();
}

} // namespace testjvm
