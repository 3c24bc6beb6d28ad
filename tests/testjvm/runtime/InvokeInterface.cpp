// The invocation side of the test runtime: the three exports of a JVM library and the JavaVM
// function table. VM creation records everything it was given before it decides, so a test can
// check the launcher's options even when creation is scripted to fail.
#include "OptionCheck.h"
#include "Record.h"
#include "SlotNames.h"
#include "TextCodec.h"
#include "Vm.h"

#include <psapi.h>

#include <chrono>
#include <cstring>
#include <utility>

namespace testjvm {

namespace {

bool isSupportedVersion(jint version) {
    switch (version) {
    case JNI_VERSION_1_2:
    case JNI_VERSION_1_4:
    case JNI_VERSION_1_6:
    case JNI_VERSION_1_8:
    case JNI_VERSION_9:
    case JNI_VERSION_10:
    case JNI_VERSION_19:
    case JNI_VERSION_20:
    case JNI_VERSION_21:
        return true;
    default:
        return false;
    }
}

// The reserved size of the calling thread's stack: the regions of the allocation that holds
// this frame, from its base up.
unsigned long long stackReserve() {
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(&info, &info, sizeof info);
    char* const base = static_cast<char*>(info.AllocationBase);
    char* cursor = base;
    MEMORY_BASIC_INFORMATION region{};
    while (VirtualQuery(cursor, &region, sizeof region) && region.AllocationBase == base)
        cursor += region.RegionSize;
    return static_cast<unsigned long long>(cursor - base);
}

std::wstring currentDirectory() {
    std::wstring folder(32768, L'\0');
    folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
    return folder;
}

std::string environmentLines() {
    std::string lines;
    wchar_t* block = GetEnvironmentStringsW();
    for (const wchar_t* entry = block; entry && *entry; entry += wcslen(entry) + 1)
        if (entry[0] != L'=') // the hidden per-drive folders
            lines += recordLine(key::kEnvironment, textValue(entry));
    FreeEnvironmentStringsW(block);
    return lines;
}

// The committed private memory of the process, region by region: what Windows counts as a
// process's private bytes (Wine leaves the counter for it empty).
unsigned long long committedPrivateBytes() {
    unsigned long long total = 0;
    MEMORY_BASIC_INFORMATION region{};
    const char* cursor = nullptr;
    while (VirtualQuery(cursor, &region, sizeof region)) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= cursor)
            break;
        cursor = next;
    }
    return total;
}

void recordMemory(Vm& vm) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    K32GetProcessMemoryInfo(GetCurrentProcess(),
                            reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    vm.recordNumber(key::kCreatePrivateBytes, static_cast<long long>(committedPrivateBytes()));
    vm.recordNumber(key::kCreateCommitCharge, static_cast<long long>(counters.PagefileUsage));
}

void recordCreation(const JavaVMInitArgs& args) {
    std::string lines = recordLine(key::kCreateVersion, std::to_string(args.version));
    lines += recordLine(key::kCreateIgnore, args.ignoreUnrecognized ? "1" : "0");
    for (jint i = 0; i < args.nOptions; ++i) {
        const JavaVMOption& option = args.options[i];
        if (!option.optionString)
            fatal("JNI_CreateJavaVM: option " + std::to_string(i) + " has no text");
        lines += recordLine(option.extraInfo ? key::kHookOption : key::kOption,
                            escapeValue(option.optionString, true));
    }
    lines += recordLine(key::kCreateThread, std::to_string(GetCurrentThreadId()));
    lines += recordLine(key::kCreateStack, std::to_string(stackReserve()));
    lines += recordLine(key::kCreateDirectory, textValue(currentDirectory()));
    lines += recordLine(key::kCreateCodePage, std::to_string(GetACP()));
    lines += environmentLines();
    Vm::instance().recordLines(lines);
}

// The class path elements that name nothing, as the launcher passed them: what a VM could not
// open.
void recordMissingClassPathElements(Vm& vm) {
    for (const std::wstring& element : classPathElements(vm.properties[L"java.class.path"]))
        if (!classPathElementOpens(element))
            vm.recordText(key::kClassPathMissing, element);
}

void splitInto(std::wstring_view text, wchar_t separator, std::vector<std::wstring>& out) {
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find(separator, start), text.size());
        if (end > start)
            out.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
}

// The module options that the boot layer is resolved from.
void recordModuleOption(Vm& vm, std::wstring_view text) {
    for (const std::wstring_view path : {L"--module-path=", L"--upgrade-module-path="})
        if (text.starts_with(path))
            splitInto(text.substr(path.size()), L';', vm.modulePath);
    constexpr std::wstring_view added = L"--add-modules=";
    if (text.starts_with(added))
        splitInto(text.substr(added.size()), L',', vm.addedModules);
}

// Applies the options; the first one the VM refuses ends creation with its result code.
jint applyOptions(Vm& vm, const JavaVMInitArgs& args) {
    for (jint i = 0; i < args.nOptions; ++i) {
        const JavaVMOption& option = args.options[i];
        const std::string bytes = option.optionString;
        if (bytes == "exit") {
            vm.exitHook = reinterpret_cast<void(JNICALL*)(jint)>(option.extraInfo);
            continue;
        }
        if (bytes == "abort") {
            vm.abortHook = reinterpret_cast<void(JNICALL*)()>(option.extraInfo);
            continue;
        }
        const std::wstring text = fromAnsi(bytes);
        const OptionCheck check = checkOption(text, vm.script);
        if (check.verdict == OptionVerdict::Unrecognized && args.ignoreUnrecognized)
            continue;
        if (check.verdict != OptionVerdict::Accepted) {
            writeStandardHandle(2, check.message + kLineSeparator);
            return check.verdict == OptionVerdict::Unrecognized ? vm.script.rejectResult
                                                                : JNI_EINVAL;
        }
        recordModuleOption(vm, text);
        if (text.starts_with(L"-D")) {
            const size_t equals = text.find(L'=');
            vm.properties[text.substr(2, equals == std::wstring::npos ? std::wstring::npos
                                                                      : equals - 2)] =
                equals == std::wstring::npos ? std::wstring() : text.substr(equals + 1);
        }
    }
    return JNI_OK;
}

jint create(JavaVM** pvm, void** penv, void* initArgs) {
    // Before the runtime's own set-up, which the first call into it pays for.
    LARGE_INTEGER entered;
    QueryPerformanceCounter(&entered);
    Vm& vm = Vm::instance();
    vm.recordClock("create", entered.QuadPart);
    recordMemory(vm);
    if (!pvm || !penv || !initArgs)
        return JNI_EINVAL;
    const auto& args = *static_cast<const JavaVMInitArgs*>(initArgs);
    if (args.nOptions < 0 || (args.nOptions > 0 && !args.options))
        return JNI_EINVAL;
    recordCreation(args);
    // Outside the lock: other threads of the process may use the runtime meanwhile.
    if (!vm.script.createWaitsFor.empty())
        waitForGate(vm.script.createWaitsFor);
    if (vm.script.createDelayMs)
        Sleep(vm.script.createDelayMs);

    std::lock_guard guard(vm.lock);
    jint result = JNI_OK;
    if (vm.state == Vm::State::Alive)
        result = JNI_EEXIST;
    else if (vm.state == Vm::State::Destroyed)
        result = JNI_ERR; // a VM cannot be created again in the same process
    else if (!isSupportedVersion(args.version))
        result = JNI_EVERSION;
    else if (vm.script.createResult != JNI_OK)
        result = vm.script.createResult;
    else
        result = applyOptions(vm, args);
    // As HotSpot does after the options: a root module that is not found is explained on
    // standard error, and the VM aborts with 1 from inside JNI_CreateJavaVM, which never returns.
    if (result == JNI_OK && !resolveBootLayer(vm)) {
        vm.recordNumber(key::kCreateResult, JNI_ERR);
        vmAbort(1);
    }

    if (result == JNI_OK) {
        vm.properties[L"user.dir"] = currentDirectory();
        recordMissingClassPathElements(vm);
        vm.state = Vm::State::Alive;
        installConsoleControlHandler();
        JavaThread& thread = attachThread(GetCurrentThreadId(), L"main", false);
        *pvm = &vm.javaVm;
        *penv = &thread.env;
    } else {
        *pvm = nullptr;
        *penv = nullptr;
    }
    vm.recordNumber(key::kCreateResult, result);
    vm.recordClock("created");
    return result;
}

// ---- the JavaVM table ----

Vm& vmOf(JavaVM* javaVm, const char* function) {
    Vm& vm = Vm::instance();
    if (javaVm != &vm.javaVm)
        fatal(std::string(function) + ": not the JavaVM of this runtime");
    return vm;
}

bool hasOtherLiveThreads(const Vm& vm, const JavaThread* self) {
    for (const auto& thread : vm.threads)
        if (thread->attached && !thread->daemon && thread.get() != self)
            return true;
    return false;
}

// Returns when the last non-daemon thread other than the caller has detached, as a VM does;
// a thread that never detaches would keep a real VM waiting for ever, so here the wait ends
// after the scripted time and the record says which threads were still attached.
jint JNICALL destroyJavaVM(JavaVM* javaVm) {
    Vm& vm = vmOf(javaVm, "DestroyJavaVM");
    std::unique_lock lock(vm.lock);
    if (vm.state != Vm::State::Alive)
        return JNI_ERR;
    vm.recordNumber(key::kDestroyBegin, GetCurrentThreadId());
    JavaThread* self = currentThread();
    if (!self)
        self = &attachThread(GetCurrentThreadId(), L"DestroyJavaVM", false);

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto deadline = start + std::chrono::milliseconds(vm.script.destroyTimeoutMs);
    while (hasOtherLiveThreads(vm, self) && Clock::now() < deadline)
        vm.threadsChanged.wait_until(
            lock, std::min(deadline, Clock::now() + std::chrono::milliseconds(100)));
    const auto waited =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();

    jint result = JNI_OK;
    if (hasOtherLiveThreads(vm, self)) {
        for (const auto& thread : vm.threads) {
            if (!thread->attached || thread->daemon || thread.get() == self)
                continue;
            const bool ended =
                thread->handle && WaitForSingleObject(thread->handle, 0) == WAIT_OBJECT_0;
            vm.recordText(key::kDestroyStillAttached, std::to_wstring(thread->id) + L" " +
                                                          thread->name +
                                                          (ended ? L" ended" : L" alive"));
        }
        vm.recordNumber(key::kDestroyTimedOut, waited);
        result = JNI_ERR;
    } else {
        vm.recordNumber(key::kDestroyWaited, waited);
    }
    // The VM shuts down when its last thread has gone, as it does after System.exit.
    runShutdownHooks();
    if (!vm.stringBuffers.empty())
        vm.recordNumber(key::kUnreleased, static_cast<long long>(vm.stringBuffers.size()));
    detachThread(*self);
    vm.state = Vm::State::Destroyed;
    vm.recordNumber(key::kDestroyEnd, result);
    return result;
}

jint attach(JavaVM* javaVm, void** penv, void* args, bool daemon, const char* function) {
    Vm& vm = vmOf(javaVm, function);
    if (!penv)
        fatal(std::string(function) + ": null result pointer");
    std::lock_guard guard(vm.lock);
    if (vm.state != Vm::State::Alive)
        return JNI_ERR;
    if (JavaThread* existing = currentThread()) {
        *penv = &existing->env;
        return JNI_OK;
    }
    std::wstring name = L"Thread-" + std::to_wstring(vm.nextThreadNumber++);
    if (args) {
        const auto& attachArgs = *static_cast<const JavaVMAttachArgs*>(args);
        if (attachArgs.version != JNI_VERSION_1_1 && !isSupportedVersion(attachArgs.version))
            return JNI_EVERSION;
        if (attachArgs.name)
            name = fromModifiedUtf8(attachArgs.name);
    }
    *penv = &attachThread(GetCurrentThreadId(), std::move(name), daemon).env;
    return JNI_OK;
}

jint JNICALL attachCurrentThread(JavaVM* javaVm, void** penv, void* args) {
    return attach(javaVm, penv, args, false, "AttachCurrentThread");
}

jint JNICALL attachCurrentThreadAsDaemon(JavaVM* javaVm, void** penv, void* args) {
    return attach(javaVm, penv, args, true, "AttachCurrentThreadAsDaemon");
}

// An exception still pending goes to the uncaught-exception handler, as when a Java thread
// ends with one.
jint JNICALL detachCurrentThread(JavaVM* javaVm) {
    vmOf(javaVm, "DetachCurrentThread");
    JavaThread* thread = currentThread();
    if (!thread)
        return JNI_OK;
    describeException(*thread, true);
    detachThread(*thread);
    return JNI_OK;
}

jint JNICALL getEnv(JavaVM* javaVm, void** penv, jint version) {
    Vm& vm = vmOf(javaVm, "GetEnv");
    if (!penv)
        fatal("GetEnv: null result pointer");
    *penv = nullptr;
    std::lock_guard guard(vm.lock);
    if (vm.state != Vm::State::Alive)
        return JNI_EDETACHED;
    if (version != JNI_VERSION_1_1 && !isSupportedVersion(version))
        return JNI_EVERSION;
    JavaThread* thread = currentThread();
    if (!thread)
        return JNI_EDETACHED;
    *penv = &thread->env;
    return JNI_OK;
}

template <size_t Slot> void JNICALL unsupportedInvoke() {
    fatal(std::string("JavaVM function ") + invokeSlotName(Slot) + " was called");
}

JNIInvokeInterface_ makeInvokeTable() {
    JNIInvokeInterface_ table{};
    table.reserved0 = reinterpret_cast<void*>(&unsupportedInvoke<0>);
    table.reserved1 = reinterpret_cast<void*>(&unsupportedInvoke<1>);
    table.reserved2 = reinterpret_cast<void*>(&unsupportedInvoke<2>);
    table.DestroyJavaVM = &destroyJavaVM;
    table.AttachCurrentThread = &attachCurrentThread;
    table.DetachCurrentThread = &detachCurrentThread;
    table.GetEnv = &getEnv;
    table.AttachCurrentThreadAsDaemon = &attachCurrentThreadAsDaemon;
    return table;
}

} // namespace

const JNIInvokeInterface_* invokeInterface() {
    static const JNIInvokeInterface_ table = makeInvokeTable();
    return &table;
}

} // namespace testjvm

using namespace testjvm;

extern "C" JNIEXPORT jint JNICALL JNI_CreateJavaVM(JavaVM** pvm, void** penv, void* args) {
    return create(pvm, penv, args);
}

// With JNI_VERSION_1_1 the record is the first-generation one and its javaStackSize gets the
// default Java stack size; that version is not one a VM can be created with, so the result is
// JNI_ERR all the same.
extern "C" JNIEXPORT jint JNICALL JNI_GetDefaultJavaVMInitArgs(void* args) {
    Vm& vm = Vm::instance();
    if (!args)
        return JNI_EINVAL;
    const jint version = *static_cast<const jint*>(args);
    vm.recordNumber(key::kDefaultArgs, version);
    if (version == JNI_VERSION_1_1) {
        auto* oldArgs = static_cast<JDK1_1InitArgs*>(args);
        oldArgs->javaStackSize = vm.script.defaultStackSize;
        oldArgs->version = JNI_VERSION_1_2;
        return JNI_ERR;
    }
    return isSupportedVersion(version) ? JNI_OK : JNI_ERR;
}

extern "C" JNIEXPORT jint JNICALL JNI_GetCreatedJavaVMs(JavaVM** vmBuf, jsize bufLen, jsize* nVMs) {
    Vm& vm = Vm::instance();
    std::lock_guard guard(vm.lock);
    const bool alive = vm.state == Vm::State::Alive;
    if (alive && vmBuf && bufLen > 0)
        vmBuf[0] = &vm.javaVm;
    if (nVMs)
        *nVMs = alive ? 1 : 0;
    return JNI_OK;
}
