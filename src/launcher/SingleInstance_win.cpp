// Single-instance operation: the first launch of an application serves the later ones, which
// hand it their arguments through a named shared block and a registered thread message and
// then wait for its answer.
#include "jvm/ForwardedRequests.h"
#include "launcher/Launcher.h"
#include "launcher/ProcessInfo.h"
#include "launcher/SingleInstanceBlock.h"
#include "settings/CombinedSettingsSource.h"
#include "settings/SettingsKeys.h"

#include <bit>

namespace {

// The block's numbers are read and written in place, in the processor's byte order.
static_assert(std::endian::native == std::endian::little);

// The answer of a first instance whose exit code cannot be read: the launch failed as far as
// this process can tell.
constexpr int kUnknownOutcome = -1;

// A first instance that cannot set up its side gives the mode up for this process and goes on
// as an ordinary launch. The block goes too, so that later launches do not find a first
// instance that will never answer them.
bool withoutSingleInstance(Launcher& launcher) {
    launcher.singleInstance = false;
    launcher.mainStartedEvent.reset();
    launcher.instanceBlock.reset();
    launcher.instanceMapping.reset();
    return true;
}

bool serveLaterLaunches(Launcher& launcher, const std::wstring& instanceName) {
    SingleInstanceBlock& block = *launcher.instanceBlock.get();
    // Manual reset: once main has been called every request, early or late, goes through.
    launcher.mainStartedEvent.reset(
        CreateEventW(nullptr, TRUE, FALSE, (instanceName + L"_upr_evt").c_str()));
    // Without the event the request workers could not wait for main.
    if (!launcher.mainStartedEvent)
        return withoutSingleInstance(launcher);
    block.messageId = RegisterWindowMessageW(instanceName.c_str());
    if (block.messageId == 0)
        return withoutSingleInstance(launcher);
    block.processId = GetCurrentProcessId();
    DWORD threadId = 0;
    launcher.messageThread.reset(CreateThread(nullptr, 0, &requestLoop, &launcher, 0, &threadId));
    if (!launcher.messageThread)
        return withoutSingleInstance(launcher);
    block.threadId = threadId;
    return true;
}

// A later launch that cannot hand its arguments over fails without a message.
bool handArgumentsOver(Launcher& launcher) {
    if (!launcher.writeInstanceArguments())
        return false;
    const SingleInstanceBlock& block = *launcher.instanceBlock.get();
    return PostThreadMessageW(block.threadId, block.messageId, GetCurrentThreadId(), 0) != FALSE;
}

} // namespace

bool Launcher::readApplicationSettings() {
    using namespace settings;
    std::wstring path;
    if (!settingsFilePath(path))
        return false;
    CombinedSettingsSource combined(path, embeddedSettingsText());
    // A service runs without a user to launch it twice: it never shares.
    if (combined.value(applicationSection, applicationTypeKey) == serviceType)
        return true;
    // Only the lower-case word enables the mode.
    singleInstance = combined.value(applicationSection, singleInstanceKey) == L"yes";
    if (!singleInstance)
        return true;

    std::wstring executablePath;
    DWORD error = 0;
    if (!readModulePath(executablePath, error))
        return withoutSingleInstance(*this);
    // Named without a namespace prefix: the launches of one logon session meet.
    const std::wstring instanceName = instanceNameFor(executablePath);
    instanceMapping.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                             sizeof(SingleInstanceBlock), instanceName.c_str()));
    const DWORD creationError = GetLastError();
    if (!instanceMapping)
        return withoutSingleInstance(*this);
    isFirstInstance = creationError != ERROR_ALREADY_EXISTS;
    instanceBlock.reset(static_cast<SingleInstanceBlock*>(
        MapViewOfFile(instanceMapping.get(), FILE_MAP_WRITE, 0, 0, 0)));
    if (!instanceBlock)
        return withoutSingleInstance(*this);
    return isFirstInstance ? serveLaterLaunches(*this, instanceName) : handArgumentsOver(*this);
}

bool Launcher::writeInstanceArguments() {
    return encodeForwardedArguments(appArguments, instanceBlock.get()->argumentArea);
}

void Launcher::readForwardedArguments(std::vector<std::wstring>& list) const {
    // Copied first: a later launch may be writing the area at this very moment, and the
    // decoding must see every byte once.
    unsigned char area[kArgumentAreaSize];
    CopyMemory(area, instanceBlock.get()->argumentArea, sizeof area);
    for (std::wstring& argument : decodeForwardedArguments(area))
        list.push_back(std::move(argument));
}

int Launcher::waitForFirstInstance() {
    const SingleInstanceBlock& block = *instanceBlock.get();
    // It may have ended already, or run with rights this process lacks: nothing to wait for.
    const UniqueHandle firstInstance(
        OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, block.processId));
    if (!firstInstance)
        return 0;
    const UINT forwardMessage = block.messageId;
    for (;;) {
        MSG message;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) && message.message == forwardMessage)
            return static_cast<int>(static_cast<uint32_t>(message.wParam));
        // STILL_ACTIVE is also an exit code a process can end with: only the process handle
        // tells whether it still runs. Asked first, so that the code read after it is final.
        const bool ended = WaitForSingleObject(firstInstance.get(), 0) == WAIT_OBJECT_0;
        DWORD exitCode = 0;
        if (!GetExitCodeProcess(firstInstance.get(), &exitCode))
            return kUnknownOutcome;
        if (ended || exitCode != STILL_ACTIVE)
            return static_cast<int>(exitCode);
        Sleep(100);
    }
}

void Launcher::stopSingleInstance() {
    if (isFirstInstance && messageThread) {
        // The id comes from the handle, not from the block, which any process of this user
        // can write to. The quit is posted again until it lands: a thread that has not made
        // its message queue yet cannot receive it.
        const DWORD threadId = GetThreadId(messageThread.get());
        while (WaitForSingleObject(messageThread.get(), 0) == WAIT_TIMEOUT) {
            PostThreadMessageW(threadId, WM_QUIT, 0, 0);
            WaitForSingleObject(messageThread.get(), 50);
        }
        messageThread.reset();
    }
    instanceBlock.reset();
    instanceMapping.reset();
}
