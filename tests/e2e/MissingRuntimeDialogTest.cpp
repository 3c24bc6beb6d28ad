// The "JRE Not Found" dialog as a user meets it: the message for the configured bounds, the
// download link, Browse with the shell's folder browser, OK only for a folder with a JVM
// library, and what OK and Cancel lead to.
#include "DialogDriving.h"
#include "JavaApp.h"
#include "MessageBoxes.h"
#include "ScopedRegistryKey.h"
#include "Screenshot.h"
#include "TestedBuild.h"
#include "TraceFile.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <vector>

using namespace testjvm;

namespace {

constexpr DWORD kFailureExitCode = 4294967295u;
constexpr wchar_t kCaption[] = L"JRE Not Found";
constexpr wchar_t kGeneral[] = L"The Java Runtime Environment (JRE) was not found. Please  "
                               L"download and install a JRE (";
constexpr wchar_t kServer[] = L"The Java Runtime Environment (JRE) was not found. Please  "
                              L"download and install a JRE with a server JVM (";

// Nothing beside the exe: jre64 exists but is no runtime home.
const RuntimeLayout notAHome{.javaLibrary = false};

bool isRuntimeDialog(HWND dialog) {
    return windowCaption(dialog) == kCaption;
}

bool mainRanIn(const std::wstring& home) {
    const auto record = readRecord(home);
    return record && !record->callsOf(L"main").empty();
}

// What the dialog showed when it came up.
struct DialogSeen {
    int count = 0;
    std::wstring message;
    std::wstring link;
    std::wstring path;
    bool okEnabled = true;
    SIZE size{};
    RECT messageRect{};
    RECT linkRect{};
    bool hasToolTip = false;
    std::wstring screenshot; // saved under this name when set
};

// The link's tooltip: a window of the common controls' tooltip class in the dialog's process.
bool hasToolTip(HWND dialog) {
    struct Search {
        DWORD processId;
        bool found;
    } search{0, false};
    GetWindowThreadProcessId(dialog, &search.processId);
    EnumWindows(
        [](HWND window, LPARAM parameter) WINAPI -> BOOL {
            auto* search = reinterpret_cast<Search*>(parameter);
            DWORD processId = 0;
            GetWindowThreadProcessId(window, &processId);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (processId == search->processId && lstrcmpiW(name, L"tooltips_class32") == 0)
                search->found = true;
            return !search->found;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Reads the dialog, then ends it with `finish`.
LaunchOptions readThen(DialogSeen& seen, void (*finish)(HWND)) {
    LaunchOptions options;
    options.onDialog = [&seen, finish](HWND dialog) {
        if (!isRuntimeDialog(dialog))
            return false;
        ++seen.count;
        seen.message = controlText(dialog, IDC_MISSING_JRE_MESSAGE);
        seen.link = controlText(dialog, IDC_DOWNLOAD_LINK);
        seen.path = controlText(dialog, IDC_JRE_PATH);
        seen.okEnabled = controlEnabled(dialog, IDOK);
        seen.size = windowSize(dialog);
        seen.messageRect = controlRect(dialog, IDC_MISSING_JRE_MESSAGE);
        seen.linkRect = controlRect(dialog, IDC_DOWNLOAD_LINK);
        seen.hasToolTip = hasToolTip(dialog);
        if (!seen.screenshot.empty()) {
            Sleep(300); // painted
            saveWindowScreenshot(dialog, seen.screenshot);
        }
        finish(dialog);
        return true;
    };
    return options;
}

void cancel(HWND dialog) {
    pressButton(dialog, IDCANCEL);
}

TEST(MissingRuntimeDialog, MessageNamesTheVersionsAskedForAndCancelFails) {
    struct Row {
        const wchar_t* lines;
        std::wstring message;
    };
    const std::vector<Row> rows{
        {L"", kGeneral + std::wstring(L"latest version) from:")},
        {L"Minimum Version=1.6\r\nMaximum Version=any\r\n",
         kGeneral + std::wstring(L"minimum version 1.6) from:")},
        {L"Maximum Version=1.6\r\n", kGeneral + std::wstring(L"maximum version 1.6) from:")},
        {L"Minimum Version=1.5\r\nMaximum Version=1.7\r\n",
         kGeneral + std::wstring(L"version between 1.5 and 1.7) from:")},
        {L"Minimum Version=1.6\r\nMaximum Version=1.6\r\n",
         kGeneral + std::wstring(L"version between 1.6 and 1.6) from:")},
        {L"JVM Type=server\r\nMinimum Version=1.6.0.20\r\nMaximum Version=1.6.0.20\r\n",
         kServer + std::wstring(L"version 1.6.0.20 is required) from:")},
        {L"JVM Type=server\r\n", kServer + std::wstring(L"latest version) from:")},
    };
    JavaApp app(notAHome);
    std::vector<DialogSeen> dialogs;
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.lines));
        app.writeSettings({.runtimeLines = row.lines});
        DialogSeen seen;
        seen.screenshot = L"missing-runtime-message-" + std::to_wstring(&row - rows.data());
        const LaunchResult result = app.launch(readThen(seen, cancel));
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, kFailureExitCode);
        EXPECT_TRUE(result.messageBoxes.empty());
        EXPECT_TRUE(seen.hasToolTip);
        EXPECT_EQ(seen.count, 1);
        EXPECT_EQ(seen.message, row.message);
        EXPECT_EQ(seen.link, L"https://jdk.java.net/");
        EXPECT_EQ(seen.path, L"");
        EXPECT_FALSE(seen.okEnabled);
        // The link completes the message's last sentence right below it.
        EXPECT_GE(seen.linkRect.top, seen.messageRect.bottom);
        dialogs.push_back(seen);
    }
    // The longest message (server JVM, an exact version) needs more lines than the template
    // gives the shortest: the dialog grows by the height the message grew, nothing cut off.
    ASSERT_EQ(dialogs.size(), rows.size());
    const DialogSeen& shortest = dialogs[0];
    const DialogSeen& longest = dialogs[5];
    const LONG grown = (longest.messageRect.bottom - longest.messageRect.top) -
                       (shortest.messageRect.bottom - shortest.messageRect.top);
    EXPECT_GT(grown, 0);
    EXPECT_EQ(longest.size.cy - shortest.size.cy, grown);
    EXPECT_EQ(longest.linkRect.top - shortest.linkRect.top, grown);
}

TEST(MissingRuntimeDialog, ModuleSettingsRefuseAJava8RuntimeAndAskForNine) {
    // A Java 8 runtime registered and otherwise fine: with "Main Module" or "Module Path" the
    // search needs 9, even with a lower "Minimum Version", and the message says so.
    JavaApp app(notAHome);
    const std::wstring java8 = layOutRuntime(app.app.file(L"installed\\1.8"));
    ASSERT_FALSE(java8.empty());
    ASSERT_TRUE(writeScript(java8, JavaApp::script()));
    const ScopedRegistryKey key(L"Software\\JavaSoft\\Java Runtime Environment\\1.8",
                                tested::kOwnRegistryViewIs32Bit, JavaHomeValue{java8});
    ASSERT_TRUE(key.created());
    for (const wchar_t* lines : {L"Main Module=app\r\nMinimum Version=1.6\r\n",
                                 L"Module Path=\\mods\r\n"}) {
        SCOPED_TRACE(narrow(lines));
        app.writeSettings({.runtimeLines = lines});
        DialogSeen seen;
        const LaunchResult result = app.launch(readThen(seen, cancel));
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, kFailureExitCode);
        EXPECT_EQ(seen.count, 1);
        EXPECT_EQ(seen.message, kGeneral + std::wstring(L"minimum version 9.0) from:"));
        EXPECT_FALSE(mainRanIn(java8));
    }
    // The same runtime is taken for an application without module settings.
    app.writeSettings();
    EXPECT_EQ(app.launch().exitCode, 0u);
    EXPECT_TRUE(mainRanIn(java8));
}

TEST(MissingRuntimeDialog, EscapeAndTheCloseBoxCancel) {
    JavaApp app(notAHome);
    app.writeSettings({.runtimeLines = L"Minimum Version=8122\r\n"});
    for (void (*finish)(HWND) : {&pressEscape, &pressCloseBox}) {
        DialogSeen seen;
        const LaunchResult result = app.launch(readThen(seen, finish));
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(seen.count, 1);
        EXPECT_EQ(result.exitCode, kFailureExitCode);
    }
}

TEST(MissingRuntimeDialog, RuntimeOnlyInTheOtherViewWithoutPairProductAsksTheUser) {
    // The 64-bit launcher leaves the 32-bit view to a paired launcher, which is not named
    // here; the 32-bit launcher never looks into the 64-bit view.
    JavaApp app(notAHome);
    const std::wstring registered = layOutRuntime(app.app.file(L"installed-other"));
    ASSERT_FALSE(registered.empty());
    ASSERT_TRUE(writeScript(registered, JavaApp::script()));
    const ScopedRegistryKey key(L"Software\\JavaSoft\\Java Runtime Environment\\8123.1",
                                !tested::kOwnRegistryViewIs32Bit, JavaHomeValue{registered});
    ASSERT_TRUE(key.created());
    app.writeSettings({.runtimeLines = L"Minimum Version=8123\r\nMaximum Version=8123.9\r\n"});
    DialogSeen seen;
    const LaunchResult result = app.launch(readThen(seen, cancel));
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(seen.count, 1);
    EXPECT_EQ(seen.message, kGeneral + std::wstring(L"version between 8123.0 and 8123.9) from:"));
    EXPECT_EQ(result.exitCode, kFailureExitCode);
    EXPECT_FALSE(mainRanIn(registered));
}

// Browses to each folder in turn through the shell's folder browser; after the last one,
// presses OK in the runtime dialog once it is enabled. Records what the dialog showed after
// each choice.
struct BrowseScript {
    std::vector<std::wstring> folders;
    size_t chosen = 0;
    HWND runtimeDialog = nullptr;
    bool waitingForChoice = false;
    std::vector<std::pair<std::wstring, bool>> shown; // path shown, OK enabled
    bool browserDriven = true;
    int mismatches = 0; // looks at the runtime dialog showing another folder than chosen
    int retries = 0;

    LaunchOptions options() {
        LaunchOptions options;
        options.timeoutMs = 60000;
        options.onDialog = [this](HWND dialog) {
            if (isRuntimeDialog(dialog)) {
                runtimeDialog = dialog;
                browse();
                return true;
            }
            if (!runtimeDialog || chosen >= folders.size())
                return false;
            // The shell's folder browser, owned by the runtime dialog.
            if (GetWindow(dialog, GW_OWNER) != runtimeDialog)
                return false;
            // Given time to fill its tree first, as a user would take.
            Sleep(500);
            browserDriven = browserDriven && selectFolderInBrowser(dialog, folders[chosen]);
            ++chosen;
            waitingForChoice = true;
            mismatches = 0;
            Sleep(300);
            saveWindowScreenshot(dialog, L"folder-browser");
            pressButton(dialog, IDOK);
            return true;
        };
        options.whileRunning = [this](DWORD) {
            // The dialog is disabled while the browser it owns is open.
            if (!waitingForChoice || !runtimeDialog || !IsWindowEnabled(runtimeDialog))
                return;
            // Back in the runtime dialog once the browser is gone. On a busy machine the
            // browser may not have taken the selection yet and return another folder: that
            // choice is made again.
            if (controlText(runtimeDialog, IDC_JRE_PATH) != displayed(folders[chosen - 1])) {
                if (++mismatches > 20 && retries < 5) {
                    ++retries;
                    mismatches = 0;
                    --chosen;
                    browse();
                }
                return;
            }
            waitingForChoice = false;
            shown.emplace_back(controlText(runtimeDialog, IDC_JRE_PATH),
                               controlEnabled(runtimeDialog, IDOK));
            if (chosen < folders.size())
                browse();
            else if (controlEnabled(runtimeDialog, IDOK))
                pressButton(runtimeDialog, IDOK);
            else
                pressButton(runtimeDialog, IDCANCEL);
        };
        return options;
    }

    void browse() { pressButton(runtimeDialog, IDC_BROWSE); }

    // The shell names a folder without a trailing backslash, except a drive root.
    static std::wstring displayed(const std::wstring& folder) {
        return folder.size() > 3 && folder.back() == L'\\' ? folder.substr(0, folder.size() - 1)
                                                           : folder;
    }
};

// A folder at the root of drive C: for one test, removed with its contents afterwards. The
// folder browser under Wine does not find its way into the profile's Temp folder, where
// TempFolder lives, so the folders the user picks are laid out here.
class DriveRootFolder {
  public:
    DriveRootFolder()
        : path_(L"C:\\qova-browse-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount())) {
        createFolders(path_);
    }
    ~DriveRootFolder() { removeTree(path_); }
    DriveRootFolder(const DriveRootFolder&) = delete;
    DriveRootFolder& operator=(const DriveRootFolder&) = delete;

    std::wstring file(const std::wstring& relative) const { return path_ + L"\\" + relative; }

  private:
    static void removeTree(const std::wstring& folder) {
        WIN32_FIND_DATAW found;
        const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                const std::wstring path = folder + L"\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    removeTree(path);
                else
                    DeleteFileW(path.c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(folder.c_str());
    }

    std::wstring path_;
};

TEST(MissingRuntimeDialog, OnlyAFolderWithAJvmLibraryEnablesOkWhichLaunchesAndRemembersIt) {
    JavaApp app(notAHome);
    TempFolder appData;
    const DriveRootFolder installed;
    const std::wstring chosen = layOutRuntime(installed.file(L"chosen rt"));
    const std::wstring kitOnly =
        layOutRuntime(installed.file(L"old kit"), RuntimeLayout{.developmentKit = true});
    const std::wstring empty = installed.file(L"empty");
    createFolders(empty);
    ASSERT_FALSE(chosen.empty() || kitOnly.empty());
    ASSERT_TRUE(writeScript(chosen, JavaApp::script()));
    app.app.writeSettings(
        L"[Product Information]\r\nProduct Name=Viewer\r\nProduct Code={E2E-9}\r\n"
        L"[Java Runtime Environment]\r\nMain Class=com.example.App\r\nMinimum Version=8124\r\n"
        L"[Class Path]\r\nClass Path=\\lib\\*.jar\r\n"
        L"[Application]\r\nPair Product=" +
        app.app.file(L"app32.exe") + L"\r\n");

    BrowseScript script;
    // A development kit keeps its runtime in jre\: the kit's own folder is not accepted.
    script.folders = {empty, chosen, installed.file(L"old kit"), chosen};
    LaunchOptions options = script.options();
    // Traced: the user's pick is a decision the trace must show as it was made.
    TempFolder traces;
    const std::wstring traceFile = traces.file(L"launch.trace");
    options.environment = {{L"APPDATA", appData.path()}, {L"QOVA_LAUNCHER_TRACE", traceFile}};
    const LaunchResult result = app.launch(options);

    ASSERT_FALSE(result.timedOut);
    ASSERT_TRUE(script.browserDriven);
    const std::vector<std::pair<std::wstring, bool>> expected{
        {empty, false},
        {BrowseScript::displayed(chosen), true},
        {installed.file(L"old kit"), false},
        {BrowseScript::displayed(chosen), true},
    };
    EXPECT_EQ(script.shown, expected);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_TRUE(result.messageBoxes.empty());
    EXPECT_TRUE(mainRanIn(chosen));
    // Remembered with its backslash for this launcher and its paired product.
    for (const wchar_t* file : {L"Viewer\\{E2E-9}\\app.ini", L"Viewer\\{E2E-9}\\app32.ini"}) {
        wchar_t value[1024] = {};
        GetPrivateProfileStringW(L"Java Runtime Environment", L"JRE Path", L"(none)", value, 1024,
                                 appData.file(file).c_str());
        EXPECT_EQ(std::wstring(value), chosen) << narrow(file);
    }

    const Trace trace = readTrace(traceFile);
    EXPECT_TRUE(trace.problems.empty());
    const auto dialogs = trace.of("dialog");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs.front()["result"], L"ok");
    EXPECT_EQ(BrowseScript::displayed(dialogs.front()["detail"]), BrowseScript::displayed(chosen));
    const auto picked = trace.of("chosen");
    ASSERT_EQ(picked.size(), 1u);
    EXPECT_EQ(picked.front()["from"], L"dialog");
    EXPECT_EQ(picked.front()["jvm"], jvmLibraryOf(chosen));
    const auto remembered = trace.of("remember");
    ASSERT_EQ(remembered.size(), 2u);
    for (const TraceEvent& event : remembered) {
        EXPECT_EQ(event["folder"], chosen);
        EXPECT_EQ(event["written"], L"true");
    }
    EXPECT_EQ(trace.first("jvm-library", "path"), jvmLibraryOf(chosen));
}

TEST(MissingRuntimeDialog, LaidOutAtTheDisplayScale) {
    JavaApp app(notAHome);
    app.writeSettings({.runtimeLines = L"Minimum Version=1.8\r\n"});
    SIZE sizes[3]{};
    const DWORD scales[] = {96, 144, 192};
    for (int i = 0; i < 3; ++i) {
        const ScopedDisplayDpi dpi(scales[i]);
        LaunchOptions options;
        options.onDialog = [&](HWND dialog) {
            if (!isRuntimeDialog(dialog))
                return false;
            sizes[i] = windowSize(dialog);
            Sleep(300); // painted
            saveWindowScreenshot(dialog, L"missing-runtime-" + std::to_wstring(scales[i]) + L"dpi");
            cancel(dialog);
            return true;
        };
        const LaunchResult result = app.launch(options);
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, kFailureExitCode);
    }
    // Dialog units follow the font, which follows the scale: 1.5 and 2 times the size, give or
    // take what the frame and the font's rounding add.
    ASSERT_GT(sizes[0].cx, 0);
    EXPECT_NEAR(sizes[1].cx / static_cast<double>(sizes[0].cx), 1.5, 0.15);
    EXPECT_NEAR(sizes[1].cy / static_cast<double>(sizes[0].cy), 1.5, 0.15);
    EXPECT_NEAR(sizes[2].cx / static_cast<double>(sizes[0].cx), 2.0, 0.2);
    EXPECT_NEAR(sizes[2].cy / static_cast<double>(sizes[0].cy), 2.0, 0.2);
}

} // namespace

namespace {

// The icon is left out: its control takes the size of the icon, which is the system's icon
// size, and Wine gives a process the icon size of the scale it started at.
constexpr int kLaidOutControls[] = {IDOK,       IDCANCEL,          IDC_JRE_PATH,
                                    IDC_BROWSE, IDC_MISSING_JRE_MESSAGE, IDC_DOWNLOAD_LINK,
                                    IDC_BROWSE_HINT};

// The pixels of the link in its colour: its text, underline included, at the font's size.
int linkPixelsOf(HWND dialog) {
    RECT area{};
    GetWindowRect(GetDlgItem(dialog, IDC_DOWNLOAD_LINK), &area);
    ScreenPixels pixels;
    if (!captureScreen(area, pixels))
        return -1;
    int blue = 0;
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x) {
            const COLORREF colour = pixels.at(x, y);
            blue += GetBValue(colour) > 128 && GetRValue(colour) < 128 && GetGValue(colour) < 128;
        }
    return blue;
}

TEST(MissingRuntimeDialog, MovedToAMonitorOfTwiceTheScaleLooksAsOpenedThere) {
    JavaApp app(notAHome);
    app.writeSettings({.runtimeLines = L"Minimum Version=1.8\r\n"});
    RECT opened[std::size(kLaidOutControls)]{};
    RECT openedAt{};
    SIZE openedClient{};
    int openedLink = 0;
    {
        const ScopedDisplayDpi dpi(192);
        LaunchOptions options;
        options.onDialog = [&](HWND dialog) {
            if (!isRuntimeDialog(dialog))
                return false;
            Sleep(300);
            for (size_t i = 0; i < std::size(kLaidOutControls); ++i)
                opened[i] = controlRect(dialog, kLaidOutControls[i]);
            GetWindowRect(dialog, &openedAt);
            RECT client{};
            GetClientRect(dialog, &client);
            openedClient = {client.right, client.bottom};
            openedLink = linkPixelsOf(dialog);
            cancel(dialog);
            return true;
        };
        ASSERT_FALSE(app.launch(options).timedOut);
    }
    ASSERT_GT(openedLink, 0);

    bool checked = false;
    LaunchOptions options;
    options.onDialog = [&](HWND dialog) {
        if (!isRuntimeDialog(dialog))
            return false;
        Sleep(300);
        saveWindowScreenshot(dialog, L"missing-runtime-before-move-96dpi");
        RECT first[std::size(kLaidOutControls)]{};
        for (size_t i = 0; i < std::size(kLaidOutControls); ++i)
            first[i] = controlRect(dialog, kLaidOutControls[i]);
        RECT firstRect{};
        GetWindowRect(dialog, &firstRect);
        const RECT larger = suggestedRectFor(dialog, {openedAt.left, openedAt.top}, openedClient);
        EXPECT_TRUE(sendDpiChanged(dialog, 192, larger));
        Sleep(300);
        saveWindowScreenshot(dialog, L"missing-runtime-after-move-192dpi");
        for (size_t i = 0; i < std::size(kLaidOutControls); ++i) {
            const RECT moved = controlRect(dialog, kLaidOutControls[i]);
            SCOPED_TRACE(kLaidOutControls[i]);
            EXPECT_LE(std::abs(moved.left - opened[i].left), 1);
            EXPECT_LE(std::abs(moved.top - opened[i].top), 1);
            EXPECT_LE(std::abs(moved.right - opened[i].right), 1);
            EXPECT_LE(std::abs(moved.bottom - opened[i].bottom), 1);
        }
        // Still the link: its colour and underline, in a font of the new size.
        EXPECT_NEAR(linkPixelsOf(dialog), openedLink, openedLink / 10);

        for (int move = 0; move < 3; ++move) {
            EXPECT_TRUE(sendDpiChanged(dialog, 96, firstRect));
            EXPECT_TRUE(sendDpiChanged(dialog, 192, larger));
        }
        EXPECT_TRUE(sendDpiChanged(dialog, 96, firstRect));
        for (size_t i = 0; i < std::size(kLaidOutControls); ++i) {
            const RECT back = controlRect(dialog, kLaidOutControls[i]);
            EXPECT_TRUE(EqualRect(&back, &first[i])) << kLaidOutControls[i];
        }
        checked = true;
        cancel(dialog);
        return true;
    };
    ASSERT_FALSE(app.launch(options).timedOut);
    EXPECT_TRUE(checked);
}

} // namespace
