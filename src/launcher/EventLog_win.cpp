#include "launcher/EventLog.h"

#include "launcher/UniqueHandle.h"

namespace {

constexpr wchar_t kApplicationLog[] = L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\";

struct EventSourceTraits {
    using Type = HANDLE;
    static Type invalid() { return nullptr; }
    static void close(Type source) { DeregisterEventSource(source); }
};
using UniqueEventSource = UniqueResource<EventSourceTraits>;

} // namespace

void registerEventSource(const std::wstring& source, const std::wstring& executablePath) {
    const std::wstring keyPath = kApplicationLog + source;
    UniqueRegistryKey key;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, key.put(), &disposition) != ERROR_SUCCESS)
        return;
    // An installer's own registration stays as it made it.
    if (disposition == REG_CREATED_NEW_KEY) {
        const auto size = static_cast<DWORD>((executablePath.size() + 1) * sizeof(wchar_t));
        RegSetValueExW(key.get(), L"EventMessageFile", 0, REG_EXPAND_SZ,
                       reinterpret_cast<const BYTE*>(executablePath.c_str()), size);
        const DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
        RegSetValueExW(key.get(), L"TypesSupported", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&types),
                       sizeof types);
    }
}

bool writeEventLogEntry(const std::wstring& source, DWORD eventId, const std::wstring& text1,
                        const std::wstring& text2) {
    const UniqueEventSource log(RegisterEventSourceW(nullptr, source.c_str()));
    if (!log)
        return false;
    const wchar_t* strings[] = {text1.c_str(), text2.c_str()};
    const WORD count = text2.empty() ? 1 : 2;
    return ReportEventW(log.get(), EVENTLOG_ERROR_TYPE, 0, eventId, nullptr, count, 0, strings,
                        nullptr) != FALSE;
}
