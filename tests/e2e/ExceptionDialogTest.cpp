// The "Java Exception" dialog as a user meets it: the whole stack trace of an exception that
// escapes main, Ignore to let the application run on, Stop (or Escape, or the close box) to
// end it, and a dialog that resizes by its map.
#include "DialogDriving.h"
#include "JavaApp.h"
#include "MessageBoxes.h"
#include "Screenshot.h"
#include "TraceFile.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace testjvm;

namespace {

constexpr DWORD kFailureExitCode = 4294967295u;
constexpr wchar_t kCaption[] = L"Java Exception";

// What a VM prints for the scripted exception and its cause: the cause's frame shared with
// the exception it caused folded into "... 1 more".
constexpr wchar_t kTrace[] = L"java.lang.IllegalStateException: broken\r\n"
                             L"\tat com.example.App.main(App.java)\r\n"
                             L"Caused by: java.io.IOException: disk\r\n"
                             L"\tat com.example.App.cause1(App.java)\r\n"
                             L"\t... 1 more\r\n";

// main starts a thread that lives `threadMs`, then throws an exception with a cause.
Script throwingScript(long long threadMs = 0) {
    std::vector<Action> actions;
    if (threadMs > 0)
        actions.push_back(Action::thread(threadMs));
    actions.push_back(Action::throwException(L"java/lang/IllegalStateException: broken"));
    actions.push_back(Action::cause(L"java/io/IOException: disk"));
    return JavaApp::script(actions);
}

struct DialogSeen {
    int count = 0;
    std::wstring trace;
};

LaunchOptions readThen(DialogSeen& seen, void (*finish)(HWND)) {
    LaunchOptions options;
    options.onDialog = [&seen, finish](HWND dialog) {
        if (windowCaption(dialog) != kCaption)
            return false;
        ++seen.count;
        seen.trace = controlText(dialog, IDC_STACK_TRACE);
        finish(dialog);
        return true;
    };
    return options;
}

void ignore(HWND dialog) {
    pressButton(dialog, IDOK);
}

void stop(HWND dialog) {
    pressButton(dialog, IDCANCEL);
}

TEST(ExceptionDialog, ShowsTheWholeTraceAndIgnoreLetsTheApplicationRunToItsEnd) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(throwingScript(1500)));
    for (const wchar_t* value : {L"Yes", L"yes", L"YES"}) {
        SCOPED_TRACE(narrow(value));
        app.writeSettings({.applicationLines = std::wstring(L"Failure Check=") + value + L"\r\n"});
        clearRecord(app.runtimeHome);
        DialogSeen seen;
        const DWORD start = GetTickCount();
        const LaunchResult result = app.launch(readThen(seen, ignore));
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(seen.count, 1);
        EXPECT_EQ(seen.trace, kTrace);
        // The application's own thread still ran to its end.
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_GE(GetTickCount() - start, 1400u);
        const Record record = app.record();
        EXPECT_TRUE(record.exitStatuses.empty());
        EXPECT_TRUE(record.destroyReturned);
        // Printed once on standard error as well, and no JNI call made with it pending.
        const std::wstring& err = record.standardError;
        EXPECT_NE(err.find(kTrace), std::wstring::npos) << narrow(err);
        EXPECT_EQ(err.find(kTrace), err.rfind(kTrace)) << narrow(err);
        EXPECT_TRUE(record.violations.empty());
        EXPECT_TRUE(record.fatalErrors.empty());
    }
}

TEST(ExceptionDialog, StopEscapeAndTheCloseBoxEndTheApplication) {
    JavaApp app;
    // A thread that would keep the application alive for a long time.
    ASSERT_TRUE(app.writeScript(throwingScript(60000)));
    app.writeSettings({.applicationLines = L"Failure Check=Yes\r\n"});
    for (void (*finish)(HWND) : {&stop, &pressEscape, &pressCloseBox}) {
        clearRecord(app.runtimeHome);
        DialogSeen seen;
        const LaunchResult result = app.launch(readThen(seen, finish));
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(seen.count, 1);
        EXPECT_EQ(result.exitCode, kFailureExitCode);
        EXPECT_EQ(app.record().exitStatuses, std::vector<long long>{-1});
    }
}

TEST(ExceptionDialog, WithoutFailureCheckTheTraceGoesToTheErrorFile) {
    JavaApp app;
    TempFolder logs;
    ASSERT_TRUE(app.writeScript(throwingScript()));
    for (const wchar_t* value : {L"", L"No", L"y"}) {
        SCOPED_TRACE(narrow(value));
        app.writeSettings({.applicationLines = std::wstring(L"Failure Check=") + value +
                                               L"\r\nError File=" + logs.file(L"err.log") +
                                               L"\r\n"});
        DialogSeen seen;
        const LaunchResult result = app.launch(readThen(seen, stop));
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(seen.count, 0);
        EXPECT_EQ(result.exitCode, 0u);
        const std::string err = readBytesFile(logs.file(L"err.log"));
        EXPECT_NE(err.find("java.lang.IllegalStateException: broken\r\n"), std::string::npos)
            << err;
        EXPECT_NE(err.find("Caused by: java.io.IOException: disk\r\n"), std::string::npos) << err;
    }
}

// The controls of the resize map and the grip, in the dialog's client coordinates.
struct Layout {
    RECT group, heading, warning, instruction, trace, ignore, stop, grip;
};

Layout layoutOf(HWND dialog) {
    return {controlRect(dialog, IDC_EXCEPTION_GROUP),
            controlRect(dialog, IDC_EXCEPTION_HEADING),
            controlRect(dialog, IDC_EXCEPTION_WARNING),
            controlRect(dialog, IDC_EXCEPTION_INSTRUCTION),
            controlRect(dialog, IDC_STACK_TRACE),
            controlRect(dialog, IDOK),
            controlRect(dialog, IDCANCEL),
            controlRect(dialog, 0xE801)};
}

RECT moved(RECT rect, int dx, int dy, int dw, int dh) {
    return {rect.left + dx, rect.top + dy, rect.right + dx + dw, rect.bottom + dy + dh};
}

void expectRect(const RECT& actual, const RECT& expected, const char* name) {
    EXPECT_TRUE(EqualRect(&actual, &expected))
        << name << ": " << actual.left << "," << actual.top << "," << actual.right << ","
        << actual.bottom << " instead of " << expected.left << "," << expected.top << ","
        << expected.right << "," << expected.bottom;
}

void resizeTo(HWND dialog, SIZE size) {
    SetWindowPos(dialog, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TEST(ExceptionDialog, ResizesByItsMapAndNotBelowItsFirstSize) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(throwingScript()));
    app.writeSettings({.applicationLines = L"Failure Check=Yes\r\n"});
    bool checked = false;
    LaunchOptions options;
    options.onDialog = [&](HWND dialog) {
        if (windowCaption(dialog) != kCaption)
            return false;
        Sleep(300);
        saveWindowScreenshot(dialog, L"java-exception-96dpi");
        const SIZE first = windowSize(dialog);
        const Layout before = layoutOf(dialog);
        EXPECT_GT(before.grip.right, before.grip.left);

        // Wider by 100: everything of the map widens or moves right by 100, nothing vertically.
        resizeTo(dialog, {first.cx + 100, first.cy});
        Layout after = layoutOf(dialog);
        expectRect(after.group, moved(before.group, 0, 0, 100, 0), "group");
        expectRect(after.heading, moved(before.heading, 0, 0, 100, 0), "heading");
        expectRect(after.warning, moved(before.warning, 0, 0, 100, 0), "warning");
        expectRect(after.instruction, moved(before.instruction, 0, 0, 100, 0), "instruction");
        expectRect(after.trace, moved(before.trace, 0, 0, 100, 0), "trace");
        expectRect(after.ignore, moved(before.ignore, 100, 0, 0, 0), "ignore");
        expectRect(after.stop, moved(before.stop, 100, 0, 0, 0), "stop");
        expectRect(after.grip, moved(before.grip, 100, 0, 0, 0), "grip");

        // Taller by 60 as well: the texts below the trace and the buttons move down.
        resizeTo(dialog, {first.cx + 100, first.cy + 60});
        after = layoutOf(dialog);
        expectRect(after.group, moved(before.group, 0, 0, 100, 60), "group");
        expectRect(after.heading, moved(before.heading, 0, 0, 100, 0), "heading");
        expectRect(after.warning, moved(before.warning, 0, 60, 100, 0), "warning");
        expectRect(after.instruction, moved(before.instruction, 0, 60, 100, 0), "instruction");
        expectRect(after.trace, moved(before.trace, 0, 0, 100, 60), "trace");
        expectRect(after.ignore, moved(before.ignore, 100, 60, 0, 0), "ignore");
        expectRect(after.stop, moved(before.stop, 100, 60, 0, 0), "stop");
        saveWindowScreenshot(dialog, L"java-exception-96dpi-enlarged");

        // Back, and then smaller than at first: it stops at its first size, laid out as then.
        resizeTo(dialog, {first.cx - 80, first.cy - 50});
        const SIZE smallest = windowSize(dialog);
        EXPECT_EQ(smallest.cx, first.cx);
        EXPECT_EQ(smallest.cy, first.cy);
        after = layoutOf(dialog);
        expectRect(after.trace, before.trace, "trace");
        expectRect(after.stop, before.stop, "stop");

        // Maximised the grip goes; restored it comes back.
        SendMessageW(dialog, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, 0xE801)));
        SendMessageW(dialog, WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, 0xE801)));
        checked = true;
        ignore(dialog);
        return true;
    };
    const LaunchResult result = app.launch(options);
    ASSERT_FALSE(result.timedOut);
    EXPECT_TRUE(checked);
    EXPECT_EQ(result.exitCode, 0u);
}

TEST(ExceptionDialog, LaidOutAtTheDisplayScale) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(throwingScript()));
    app.writeSettings({.applicationLines = L"Failure Check=Yes\r\n"});
    SIZE sizes[2]{};
    const DWORD scales[] = {96, 144};
    for (int i = 0; i < 2; ++i) {
        const ScopedDisplayDpi dpi(scales[i]);
        LaunchOptions options;
        options.onDialog = [&](HWND dialog) {
            if (windowCaption(dialog) != kCaption)
                return false;
            sizes[i] = windowSize(dialog);
            Sleep(300);
            if (scales[i] != 96)
                saveWindowScreenshot(dialog,
                                     L"java-exception-" + std::to_wstring(scales[i]) + L"dpi");
            ignore(dialog);
            return true;
        };
        const LaunchResult result = app.launch(options);
        ASSERT_FALSE(result.timedOut);
    }
    ASSERT_GT(sizes[0].cx, 0);
    EXPECT_NEAR(sizes[1].cx / static_cast<double>(sizes[0].cx), 1.5, 0.15);
    EXPECT_NEAR(sizes[1].cy / static_cast<double>(sizes[0].cy), 1.5, 0.15);
}

} // namespace

namespace {

// The pixels of the text of a control that are darker than the dialog's background: as many
// as a dialog opened at the scale shows when the font has the size it has there.
int darkPixelsOf(HWND dialog, int controlId) {
    RECT area{};
    GetWindowRect(GetDlgItem(dialog, controlId), &area);
    ScreenPixels pixels;
    if (!captureScreen(area, pixels))
        return -1;
    int dark = 0;
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
            dark += GetGValue(pixels.at(x, y)) < 128;
    return dark;
}

void expectNear(const RECT& actual, const RECT& expected, const char* name) {
    EXPECT_LE(std::abs(actual.left - expected.left), 1) << name;
    EXPECT_LE(std::abs(actual.top - expected.top), 1) << name;
    EXPECT_LE(std::abs(actual.right - expected.right), 1) << name;
    EXPECT_LE(std::abs(actual.bottom - expected.bottom), 1) << name;
}

void expectLayoutNear(const Layout& actual, const Layout& expected) {
    expectNear(actual.group, expected.group, "group");
    expectNear(actual.heading, expected.heading, "heading");
    expectNear(actual.warning, expected.warning, "warning");
    expectNear(actual.instruction, expected.instruction, "instruction");
    expectNear(actual.trace, expected.trace, "trace");
    expectNear(actual.ignore, expected.ignore, "ignore");
    expectNear(actual.stop, expected.stop, "stop");
}

RECT windowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

TEST(ExceptionDialog, MovedToAMonitorOfTwiceTheScaleLooksAsOpenedThere) {
    JavaApp app;
    ASSERT_TRUE(app.writeScript(throwingScript()));
    app.writeSettings({.applicationLines = L"Failure Check=Yes\r\n"});
    TempFolder traces;
    const std::wstring traceFile = traces.file(L"launch.trace");

    // Opened at 192 DPI: what the moved dialog must look like.
    Layout opened{};
    SIZE openedSize{}; // of the client area
    RECT openedAt{};
    int openedText = 0;
    {
        const ScopedDisplayDpi dpi(192);
        LaunchOptions options;
        options.onDialog = [&](HWND dialog) {
            if (windowCaption(dialog) != kCaption)
                return false;
            Sleep(300);
            saveWindowScreenshot(dialog, L"java-exception-opened-192dpi");
            opened = layoutOf(dialog);
            openedAt = windowRect(dialog);
            RECT client{};
            GetClientRect(dialog, &client);
            openedSize = {client.right, client.bottom};
            openedText = darkPixelsOf(dialog, IDC_EXCEPTION_HEADING);
            ignore(dialog);
            return true;
        };
        ASSERT_FALSE(app.launch(options).timedOut);
    }
    ASSERT_GT(openedText, 0);

    bool checked = false;
    LaunchOptions options;
    options.environment = {{L"QOVA_LAUNCHER_TRACE", traceFile}};
    options.onDialog = [&](HWND dialog) {
        if (windowCaption(dialog) != kCaption)
            return false;
        Sleep(300);
        saveWindowScreenshot(dialog, L"java-exception-before-move-96dpi");
        const Layout first = layoutOf(dialog);
        const RECT firstRect = windowRect(dialog);
        const int firstText = darkPixelsOf(dialog, IDC_EXCEPTION_HEADING);
        // As Windows suggests it: the dialog manager's client area for the font at the new
        // scale, where the dialog opened at that scale sits, so that the screenshot shows all
        // of it.
        const RECT larger = suggestedRectFor(dialog, {openedAt.left, openedAt.top}, openedSize);
        EXPECT_TRUE(sendDpiChanged(dialog, 192, larger));
        Sleep(300);
        saveWindowScreenshot(dialog, L"java-exception-after-move-192dpi");
        expectLayoutNear(layoutOf(dialog), opened);
        // The font of the new size: as much text as there, about four times the first.
        const int movedText = darkPixelsOf(dialog, IDC_EXCEPTION_HEADING);
        EXPECT_NEAR(movedText, openedText, openedText / 10);
        EXPECT_GT(movedText, firstText * 3);

        // Back and forth three times: the first layout again, to the pixel.
        for (int move = 0; move < 3; ++move) {
            EXPECT_TRUE(sendDpiChanged(dialog, 96, firstRect));
            EXPECT_TRUE(sendDpiChanged(dialog, 192, larger));
        }
        EXPECT_TRUE(sendDpiChanged(dialog, 96, firstRect));
        const Layout back = layoutOf(dialog);
        expectRect(back.trace, first.trace, "trace");
        expectRect(back.heading, first.heading, "heading");
        expectRect(back.stop, first.stop, "stop");
        expectRect(back.grip, first.grip, "grip");
        const RECT backRect = windowRect(dialog);
        EXPECT_TRUE(EqualRect(&backRect, &firstRect));
        checked = true;
        ignore(dialog);
        return true;
    };
    ASSERT_FALSE(app.launch(options).timedOut);
    EXPECT_TRUE(checked);

    // The scale it opened at and each change, in the launch trace.
    const Trace trace = readTrace(traceFile);
    std::vector<std::wstring> seen;
    for (const TraceEvent& event : trace.of("dpi"))
        if (event["window"] == L"exception")
            seen.push_back(event["on"] + L" " + event["dpi"]);
    const std::vector<std::wstring> expected = {L"open 96",    L"change 192", L"change 96",
                                                L"change 192", L"change 96",  L"change 192",
                                                L"change 96",  L"change 192", L"change 96"};
    EXPECT_EQ(seen, expected);
}

} // namespace
