// The launcher's user-visible failure reports: texts from the string table in message boxes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The whole text of a string-table entry, of any length; empty when there is none.
std::wstring loadString(UINT id);

// An error message box with the default caption; the result is MessageBoxW's. The launcher of
// a console program writes the text on standard error instead.
int showMessageBox(HWND owner, const std::wstring& text);
int showMessageBox(HWND owner, UINT textId);

// The format is a string-table id, loaded here rather than at each of the many call sites.
int showFormattedMessage(HWND owner, UINT formatId, const std::wstring& text);
int showFormattedMessage(HWND owner, UINT formatId, const std::wstring& text1,
                         const std::wstring& text2);
int showFormattedMessage(HWND owner, UINT formatId, const std::wstring& text, int32_t code);

// The common case of a failed Windows call: message 202 with the string `what` and the error
// code, which the caller captured right after the failing call.
int showWindowsError(HWND owner, UINT what, DWORD errorCode);
