// Entries in the Windows Application event log: where a service, which has no desktop that
// anybody sees, reports what an interactive launch shows in a message box.
#pragma once

#include <windows.h>

#include <string>

// The event ids of the launcher's message table (src/res/messages.mc; severity bits included).
inline constexpr DWORD kEventMessage = 0xC0000001;
inline constexpr DWORD kEventServiceEnded = 0xC0000002;

// Names this executable as the message file of the event source, so that the event viewer
// shows the entries' texts. Only where the source is not registered yet, and only where the
// account may (a service account may; nothing is said when it may not).
void registerEventSource(const std::wstring& source, const std::wstring& executablePath);

// One error entry with the strings filled into the event's message; false when the log cannot
// be written.
bool writeEventLogEntry(const std::wstring& source, DWORD eventId, const std::wstring& text1,
                        const std::wstring& text2 = {});
