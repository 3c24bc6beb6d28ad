// The launcher's command-line splitting rule as a table of text after the program name and the
// arguments it gives. Shared by the native splitter tests and the end-to-end tests, which check
// that the same arguments arrive in the Java main method.
#pragma once

#include <string>
#include <vector>

struct CommandLineCase {
    const wchar_t* afterProgram;
    std::vector<std::wstring> arguments;
};

inline const std::vector<CommandLineCase>& commandLineCases() {
    static const std::vector<CommandLineCase> cases = {
        {L"", {}},
        {L"-a  -b", {L"-a", L"-b"}},
        {L"\"C:\\My Files\\a.txt\" x", {L"C:\\My Files\\a.txt", L"x"}},
        {L"\"abc\"def", {L"abc", L"def"}},
        {L"ab\"c d\"", {L"ab\"c", L"d\""}},
        {L"\"\" x", {L"", L"x"}},
        {L"\"unterminated text", {L"unterminated text"}},
        {L"x \"", {L"x", L""}},
        {L"-a\tb", {L"-a\tb"}},
        {L"\"a\"\"b\" c", {L"a", L"b", L"c"}},
        {L"C:\\dir\\ \"C:\\other dir\\\"", {L"C:\\dir\\", L"C:\\other dir\\"}},
        {L"-nosplash -nosplash", {L"-nosplash", L"-nosplash"}},
    };
    return cases;
}
