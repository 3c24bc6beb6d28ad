// A console launcher's messages as lines of standard error.
#include "launcher/ConsoleText.h"

#include <gtest/gtest.h>

namespace {

// Faults caught: a message without a line end running into the next output, string-table
// texts that end in "\n" giving an empty line after them, a bare "\n" inside a message left
// for a pipe reader that splits on CR LF, and a CR LF doubled into CR CR LF.
TEST(ConsoleText, EveryLineEndsInCrLfAndTheTextInExactlyOne) {
    const struct {
        std::wstring_view text;
        std::wstring_view line;
    } cases[] = {
        {L"Main class was not specified in INI file.",
         L"Main class was not specified in INI file.\r\n"},
        {L"Could not find the main class a/B.\n", L"Could not find the main class a/B.\r\n"},
        {L"JNI exception: failed to create the Java VM\nReason: unknown.\n",
         L"JNI exception: failed to create the Java VM\r\nReason: unknown.\r\n"},
        {L"one\r\ntwo\r\n\r\n", L"one\r\ntwo\r\n"},
        {L"\nafter an empty line", L"\r\nafter an empty line\r\n"},
        {L"", L"\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(consoleMessageLine(c.text), c.line)
            << testing::PrintToString(std::wstring(c.text));
}

} // namespace
