// Centring windows over their owner or on their monitor, and the folder choice of the
// missing-runtime dialog on the real dialog.
#include "TestFiles.h"
#include "res/resource.h"
#include "runtime/MissingJreDialog.h"
#include "ui/CenterWindow.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

// A runtime home as the probe sees it: a JVM library at `relative` under `home` (ending in
// "\"), an empty file being all the probe looks for.
std::wstring runtimeHome(const std::wstring& home, const std::wstring& relative) {
    createFolders(home + relative.substr(0, relative.rfind(L'\\')));
    writeBytesFile(home + relative, "");
    return home;
}

HWND popup(HWND owner, RECT rect, DWORD style = WS_POPUP | WS_VISIBLE) {
    return CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, owner, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

RECT workArea() {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcWork;
}

TEST(CenterWindow, OverAVisibleOwnerElseOnTheWorkArea) {
    const RECT area = workArea();
    const int areaWidth = area.right - area.left;
    const int areaHeight = area.bottom - area.top;
    struct Case {
        const char* name;
        bool ownerVisible;
        bool ownerMinimised;
        SIZE size;
        POINT expected;
    };
    const Case cases[] = {
        {"visible owner", true, false, {200, 100}, {200, 200}},
        {"hidden owner",
         false,
         false,
         {200, 100},
         {(area.left + area.right) / 2 - 100, (area.top + area.bottom) / 2 - 50}},
        {"minimised owner",
         true,
         true,
         {200, 100},
         {(area.left + area.right) / 2 - 100, (area.top + area.bottom) / 2 - 50}},
        {"larger than the work area",
         true,
         false,
         {areaWidth + 300, areaHeight + 200},
         {area.left, area.top}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HWND owner = popup(nullptr, {100, 100, 500, 400},
                                 WS_POPUP | WS_CAPTION | (c.ownerVisible ? WS_VISIBLE : 0));
        ASSERT_NE(owner, nullptr);
        if (c.ownerMinimised)
            ShowWindow(owner, SW_MINIMIZE);
        const HWND window = popup(owner, {0, 0, c.size.cx, c.size.cy});
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(centerWindow(window));
        RECT placed{};
        GetWindowRect(window, &placed);
        EXPECT_EQ(placed.left, c.expected.x);
        EXPECT_EQ(placed.top, c.expected.y);
        EXPECT_EQ(placed.right - placed.left, c.size.cx);
        DestroyWindow(window);
        DestroyWindow(owner);
    }
}

TEST(CenterWindow, ChildInItsParentsClientArea) {
    const HWND parent = popup(nullptr, {50, 50, 450, 350}, WS_POPUP | WS_VISIBLE);
    const HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 60,
                                       parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(parent && child);
    EXPECT_TRUE(centerWindow(child));
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 150);
    EXPECT_EQ(rect.top, 120);
    DestroyWindow(parent);
}

// Runs the missing-runtime dialog on this thread while `drive` works it from another, then
// cancels it.
INT_PTR runDialog(MissingJreDialog& dialog, const std::function<void(HWND)>& drive) {
    std::thread driver([&] {
        // The window is known from the start of its initialisation; it is shown only once that
        // has finished, OK disabled among it.
        HWND window = nullptr;
        for (int i = 0; i < 400 && !(window && IsWindowVisible(window)); ++i, Sleep(25))
            window = dialog.window();
        if (window)
            drive(window);
        if (window)
            PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    });
    const INT_PTR result = dialog.showModal(nullptr);
    driver.join();
    return result;
}

struct Choice {
    std::wstring path;
    std::wstring shown;
    std::wstring folder;
    bool accepted;
};

TEST(MissingJreDialog, AFolderIsAcceptedOnlyWithAJvmLibraryOfItsOwn) {
    TempFolder root;
    const std::wstring client = runtimeHome(root.file(L"client\\"), L"bin\\client\\jvm.dll");
    // A development kit keeps its runtime, and so its JVM library, in jre\.
    const std::wstring kit = root.file(L"kit");
    runtimeHome(kit + L"\\", L"jre\\bin\\server\\jvm.dll");

    struct Row {
        int jvmType;
        std::vector<Choice> choices;
    };
    const Row rows[] = {
        {0,
         {{root.file(L"client"), root.file(L"client"), client, true},
          {kit, kit, kit + L"\\", false},
          {client, client, client, true}}},
        // A server JVM is required: a client library does not do.
        {1, {{root.file(L"client"), root.file(L"client"), client, false}}},
        // A drive root keeps its one backslash.
        {0, {{L"C:\\", L"C:\\", L"C:\\", false}}},
    };
    for (const Row& row : rows) {
        MissingJreDialog dialog(L"message", row.jvmType);
        std::vector<std::pair<std::wstring, bool>> seen;
        std::vector<std::wstring> folders;
        const INT_PTR result = runDialog(dialog, [&](HWND window) {
            seen.emplace_back(L"", IsWindowEnabled(GetDlgItem(window, IDOK)) != FALSE);
            for (const Choice& choice : row.choices) {
                dialog.chooseFolder(choice.path);
                wchar_t shown[1024] = {};
                GetDlgItemTextW(window, IDC_JRE_PATH, shown, 1024);
                seen.emplace_back(shown, IsWindowEnabled(GetDlgItem(window, IDOK)) != FALSE);
                folders.push_back(dialog.selectedFolder);
            }
        });
        EXPECT_EQ(result, IDCANCEL);
        ASSERT_EQ(seen.size(), row.choices.size() + 1);
        EXPECT_FALSE(seen[0].second) << "OK is disabled until a folder is chosen";
        for (size_t i = 0; i < row.choices.size(); ++i) {
            SCOPED_TRACE(narrow(row.choices[i].path));
            EXPECT_EQ(seen[i + 1].first, row.choices[i].shown);
            EXPECT_EQ(seen[i + 1].second, row.choices[i].accepted);
            EXPECT_EQ(folders[i], row.choices[i].folder);
        }
    }
}

TEST(MissingJreDialog, AChoiceWithoutAPathIsNotProbedInTheCurrentDirectory) {
    TempFolder root;
    const std::wstring home = runtimeHome(root.file(L"rt\\"), L"bin\\server\\jvm.dll");
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    // The current directory holds a runtime: an empty folder would find it there.
    ASSERT_TRUE(SetCurrentDirectoryW(home.c_str()));
    MissingJreDialog dialog(L"message", 0);
    bool okEnabled = true;
    runDialog(dialog, [&](HWND window) {
        dialog.chooseFolder(L"");
        okEnabled = IsWindowEnabled(GetDlgItem(window, IDOK)) != FALSE;
    });
    SetCurrentDirectoryW(previous);
    EXPECT_FALSE(okEnabled);
    EXPECT_EQ(dialog.selectedFolder, L"");
    EXPECT_EQ(dialog.selectedJvmLibrary, L"");
}

} // namespace
