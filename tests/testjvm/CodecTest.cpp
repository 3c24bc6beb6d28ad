// The script and record files: values survive the line format whatever they hold.
#include "Record.h"
#include "Script.h"
#include "TestRuntime.h"
#include "TextCodec.h"

#include <gtest/gtest.h>

using namespace testjvm;

namespace {

TEST(Codec, TextValuesRoundTripAndStayOnOneLine) {
    const std::wstring texts[] = {
        L"",
        L"plain",
        std::wstring(L"nul\0inside", 10),
        L"back\\slash \\n not a newline",
        L"line\r\nbreak\ttab",
        L"caf\u00e9 \u4e2d",
        L"\U0001F600 pair",
        std::wstring(1, L'\xDC00') + L" lone low",
        L"key=value=more",
    };
    for (const std::wstring& text : texts) {
        const std::string value = textValue(text);
        EXPECT_EQ(std::string::npos, value.find('\n'));
        EXPECT_EQ(std::string::npos, value.find('\r'));
        EXPECT_EQ(text, textFromValue(value)) << value;
    }
}

TEST(Codec, ByteValuesRoundTrip) {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    const std::string escaped = escapeValue(bytes, true);
    for (char c : escaped)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80);
    EXPECT_EQ(bytes, unescapeValue(escaped));
}

TEST(Codec, StandardUtf8ReplacesWhatItCannotEncode) {
    EXPECT_EQ("a?b", toUtf8(std::wstring(L"a") + L'\xD800' + L"b"));
    EXPECT_EQ(L"\U0001F600", fromUtf8("\xF0\x9F\x98\x80"));
    EXPECT_EQ(L"\uFFFD", fromUtf8("\xC0\x80")); // only modified UTF-8 allows this form
    EXPECT_EQ(std::wstring(1, L'\0'), fromModifiedUtf8("\xC0\x80"));
}

TEST(Codec, ScriptRoundTrip) {
    Script script;
    script.createResult = JNI_EINVAL;
    script.rejectedOptions = {L"-Xbad*", L"exact=one"};
    script.acceptedOptions = {L"--weird"};
    script.rejectResult = -4;
    script.defaultStackSize = 262144;
    script.destroyTimeoutMs = 750;
    script.createWaitsFor = L"go ahead";
    script.createDelayMs = 1500;
    script.classes = {{L"com/example/App", {kMainMethod, kSecondaryMainVoid}, {}, L"app.jar"},
                      {L"com/example/NoMain", {}, {L"run()V"}, L""}};
    script.classes[1].superclass = L"javafx/application/Application";
    script.classes[1].module = L"app";
    script.modules = {{L"app", L"com.example.Main", L"\\mods", {L"javafx.controls", L"x"}},
                      {L"javafx.graphics", L"", L"", {}}};
    script.mainActions = {Action::printOut(L"hello\nworld"),
                          Action::sleep(5),
                          Action::thread(100),
                          Action::daemonThread(200),
                          Action::throwException(L"a/B: m"),
                          Action::cause(L"c/D"),
                          Action::exit(-1),
                          Action::abort(),
                          Action::printArgs(L"err"),
                          Action::printErr(L""),
                          Action::waitFor(L"release"),
                          Action::shutdownHook(L"hook ran"),
                          Action::readLine(L"read: ")};
    script.secondaryMainActions = {Action::returnValue(7)};
    script.stopActions = {Action::signal(L"stopped")};
    Script parsed;
    std::string error;
    ASSERT_TRUE(parseScript(formatScript(script), parsed, error)) << error;
    EXPECT_EQ(script, parsed);
}

TEST(Codec, ScriptErrorsNameTheLine) {
    Script parsed;
    std::string error;
    EXPECT_FALSE(parseScript("createResult=0\nmain.jump=3\n", parsed, error));
    EXPECT_EQ("line 2: main.jump=3", error);
    EXPECT_FALSE(parseScript("main.sleep=soon\n", parsed, error));
}

TEST(Codec, RecordCallsResultsAndCreationAttempts) {
    const std::string text =
        recordLine(key::kCreateVersion, "65538") + recordLine(key::kOption, "-Xold") +
        recordLine(key::kCreateVersion, "65544") + recordLine(key::kHookOption, "exit") +
        recordLine(key::kCallMethod, "a.B.secondaryMain([Ljava/lang/String;)I") +
        recordLine(key::kCallThread, "7") + recordLine(key::kCallArgumentCount, "2") +
        recordLine(key::kCallArgument, "x") + recordLine(key::kCallNullArgument, "") +
        recordLine(key::kCallMethod, "a.B.secondaryMain([Ljava/lang/String;)I") +
        recordLine(key::kCallThread, "8") + recordLine(key::kCallResult, "7 11") +
        recordLine(key::kEnvironment, escapeValue("Path=C:\\a;C:\\b")) +
        recordLine(key::kEnvironment, escapeValue("=C:=C:\\x"));
    const Record record = parseRecord(text, &fromAnsi);
    EXPECT_EQ(2, record.createCalls);
    EXPECT_EQ(JNI_VERSION_1_8, record.version);
    ASSERT_EQ(1u, record.options.size());
    EXPECT_TRUE(record.options[0].hasExtraInfo);
    const auto calls = record.callsOf(L"secondaryMain");
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(11, calls[0]->result.value_or(0));
    EXPECT_FALSE(calls[1]->result);
    EXPECT_EQ((std::vector<std::wstring>{L"x", L""}), calls[0]->arguments);
    EXPECT_EQ(std::vector<size_t>{1}, calls[0]->nullArguments);
    EXPECT_EQ(L"C:\\a;C:\\b", record.environmentVariable(L"PATH").value_or(L""));
    EXPECT_EQ(L"C:\\x", record.environmentVariable(L"=C:").value_or(L""));
}

} // namespace
