// The test host's record: one line per event, the event and its values separated by tabs, in
// UTF-8, appended to the file named by QOVA_HOST_RECORD at once (the process may end in the
// next instant, inside the VM).
#pragma once

#include <string>
#include <vector>

void hostRecord(const char* event, const std::vector<std::wstring>& values);

// Between the launcher's wide texts and bytes; the tier's texts are ASCII.
std::string narrow(const std::wstring& text);
std::wstring widen(const std::string& text);
