// "Output File" and "Error File" as the user sees them: files that receive what the
// application prints, and a launch that goes on when a file cannot be opened.
#include "JavaApp.h"

#include <gtest/gtest.h>

namespace {

using testjvm::Action;
using testjvm::Record;

// Launches and expects the application to have started and ended normally.
Record launchAndRecord(const JavaApp& app, const LaunchOptions& options = {}) {
    const LaunchResult result = app.launch(options);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_TRUE(result.messageBoxes.empty());
    Record record = app.record();
    EXPECT_EQ(record.callsOf(L"main").size(), 1u);
    EXPECT_TRUE(record.violations.empty());
    return record;
}

TEST(OutputRedirection, FilesUnderMissingFoldersReceiveWhatMainPrintsAndStartEmpty) {
    JavaApp app;
    TempFolder logs;
    app.writeSettings({.applicationLines = L"Output File=%QOVA_TEST_LOGS%\\Logs\\app\\out.log\r\n"
                                           L"Error File=%QOVA_TEST_LOGS%\\Logs\\err.log\r\n"});
    const LaunchOptions options{.environment = {{L"QOVA_TEST_LOGS", logs.path()}}};
    const std::wstring outFile = logs.file(L"Logs\\app\\out.log");
    const std::wstring errFile = logs.file(L"Logs\\err.log");

    ASSERT_TRUE(app.writeScript(
        JavaApp::script({Action::printOut(L"first run"), Action::printErr(L"first error")})));
    const Record first = launchAndRecord(app, options);
    EXPECT_EQ(readBytesFile(outFile), "first run\r\n");
    EXPECT_EQ(readBytesFile(errFile), "first error\r\n");
    EXPECT_EQ(first.standardOutput, L"");
    EXPECT_EQ(first.standardError, L"");

    // Each launch empties the files: nothing of the earlier run is kept.
    ASSERT_TRUE(app.writeScript(JavaApp::script({Action::printOut(L"second run")})));
    launchAndRecord(app, options);
    EXPECT_EQ(readBytesFile(outFile), "second run\r\n");
    EXPECT_EQ(readBytesFile(errFile), "");
}

TEST(OutputRedirection, OnlyTheStreamWithAFileIsReplaced) {
    JavaApp app;
    TempFolder logs;
    app.writeSettings(
        {.applicationLines = L"Output File=" + logs.file(L"out.log") + L"\r\nError File=\r\n"});
    ASSERT_TRUE(app.writeScript(
        JavaApp::script({Action::printOut(L"to the file"), Action::printErr(L"to stderr")})));
    const Record record = launchAndRecord(app);
    EXPECT_EQ(readBytesFile(logs.file(L"out.log")), "to the file\r\n");
    EXPECT_EQ(record.standardError, L"to stderr\r\n");
}

TEST(OutputRedirection, UnwritableOutputFileIsDescribedAndTheApplicationStillStarts) {
    JavaApp app;
    TempFolder logs;
    // A folder cannot be opened as a file.
    createFolders(logs.file(L"taken"));
    app.writeSettings({.applicationLines = L"Output File=" + logs.file(L"taken") + L"\r\n"});
    ASSERT_TRUE(app.writeScript(JavaApp::script({Action::printOut(L"still printed")})));
    const Record record = launchAndRecord(app);
    EXPECT_EQ(record.standardOutput, L"still printed\r\n");
    EXPECT_NE(record.standardError.find(L"java.io.FileNotFoundException: " + logs.file(L"taken")),
              std::wstring::npos)
        << narrow(record.standardError);
}

} // namespace
