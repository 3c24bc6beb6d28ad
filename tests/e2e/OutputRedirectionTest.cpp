// "Output File" and "Error File" as the user sees them: files that receive what the
// application prints, and a launch that goes on when a file cannot be opened.
#include "LaunchHarness.h"
#include "TestRuntime.h"

#include <gtest/gtest.h>

namespace {

using testjvm::Action;
using testjvm::Record;

class PrintingApp {
  public:
    PrintingApp() : home_(testjvm::layOutRuntime(app_.file(L"jre64"))) {
        writeBytesFile(app_.file(L"app.jar"), "");
    }

    [[nodiscard]] bool script(std::vector<Action> mainActions) const {
        testjvm::Script script;
        script.classes = {testjvm::JavaClass(L"app/Main")};
        script.mainActions = std::move(mainActions);
        return !home_.empty() && testjvm::writeScript(home_, script);
    }

    void writeSettings(const std::wstring& applicationSettings) const {
        app_.writeSettings(L"[Java Runtime Environment]\r\nMain Class=app.Main\r\n"
                           L"[Class Path]\r\nClass Path=\\app.jar\r\n[Application]\r\n" +
                           applicationSettings);
    }

    // Launches and expects the application to have started and ended normally.
    Record launchAndRecord(const LaunchOptions& options = {}) const {
        const LaunchResult result = app_.launch(options);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_TRUE(result.messageBoxes.empty());
        Record record = testjvm::readRecord(home_).value_or(Record{});
        EXPECT_EQ(record.callsOf(L"main").size(), 1u);
        EXPECT_TRUE(record.violations.empty());
        return record;
    }

  private:
    AppFolder app_;
    std::wstring home_;
};

TEST(OutputRedirection, FilesUnderMissingFoldersReceiveWhatMainPrintsAndStartEmpty) {
    PrintingApp app;
    TempFolder logs;
    app.writeSettings(L"Output File=%QOVA_TEST_LOGS%\\Logs\\app\\out.log\r\n"
                      L"Error File=%QOVA_TEST_LOGS%\\Logs\\err.log\r\n");
    const LaunchOptions options{.environment = {{L"QOVA_TEST_LOGS", logs.path()}}};
    const std::wstring outFile = logs.file(L"Logs\\app\\out.log");
    const std::wstring errFile = logs.file(L"Logs\\err.log");

    ASSERT_TRUE(app.script({Action::printOut(L"first run"), Action::printErr(L"first error")}));
    const Record first = app.launchAndRecord(options);
    EXPECT_EQ(readBytesFile(outFile), "first run\r\n");
    EXPECT_EQ(readBytesFile(errFile), "first error\r\n");
    EXPECT_EQ(first.standardOutput, L"");
    EXPECT_EQ(first.standardError, L"");

    // Each launch empties the files: nothing of the earlier run is kept.
    ASSERT_TRUE(app.script({Action::printOut(L"second run")}));
    app.launchAndRecord(options);
    EXPECT_EQ(readBytesFile(outFile), "second run\r\n");
    EXPECT_EQ(readBytesFile(errFile), "");
}

TEST(OutputRedirection, OnlyTheStreamWithAFileIsReplaced) {
    PrintingApp app;
    TempFolder logs;
    app.writeSettings(L"Output File=" + logs.file(L"out.log") + L"\r\nError File=\r\n");
    ASSERT_TRUE(app.script({Action::printOut(L"to the file"), Action::printErr(L"to stderr")}));
    const Record record = app.launchAndRecord();
    EXPECT_EQ(readBytesFile(logs.file(L"out.log")), "to the file\r\n");
    EXPECT_EQ(record.standardError, L"to stderr\r\n");
}

TEST(OutputRedirection, UnwritableOutputFileIsDescribedAndTheApplicationStillStarts) {
    PrintingApp app;
    TempFolder logs;
    // A folder cannot be opened as a file.
    createFolders(logs.file(L"taken"));
    app.writeSettings(L"Output File=" + logs.file(L"taken") + L"\r\n");
    ASSERT_TRUE(app.script({Action::printOut(L"still printed")}));
    const Record record = app.launchAndRecord();
    EXPECT_EQ(record.standardOutput, L"still printed\r\n");
    EXPECT_NE(record.standardError.find(L"java.io.FileNotFoundException: " + logs.file(L"taken")),
              std::wstring::npos)
        << narrow(record.standardError);
}

} // namespace
