// The download link of the missing-runtime dialog on the real dialog: its colours, what the
// mouse and the keyboard do to it, and what it opens.
#include "ui/HyperLinkControl.h"
#include "Screenshot.h"
#include "TestFiles.h"
#include "res/resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Microsoft\\Internet Explorer\\Settings";

INT_PTR CALLBACK plainDialog(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

// A value of the browser settings for one test; the old state comes back afterwards.
class ScopedSettingsValue {
  public:
    ScopedSettingsValue(const wchar_t* name, DWORD type, const std::wstring& data) : name_(name) {
        RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_READ | KEY_WRITE,
                        nullptr, &key_, nullptr);
        std::vector<BYTE> old(256);
        DWORD size = static_cast<DWORD>(old.size());
        if (RegQueryValueExW(key_, name, nullptr, &oldType_, old.data(), &size) == ERROR_SUCCESS)
            old_.emplace(old.begin(), old.begin() + size);
        RegSetValueExW(key_, name, 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    }
    ~ScopedSettingsValue() {
        if (old_)
            RegSetValueExW(key_, name_, 0, oldType_, old_->data(),
                           static_cast<DWORD>(old_->size()));
        else
            RegDeleteValueW(key_, name_);
        RegCloseKey(key_);
    }
    ScopedSettingsValue(const ScopedSettingsValue&) = delete;
    ScopedSettingsValue& operator=(const ScopedSettingsValue&) = delete;

  private:
    const wchar_t* name_;
    HKEY key_ = nullptr;
    DWORD oldType_ = 0;
    std::optional<std::vector<BYTE>> old_;
};

// Dialog 201 shown on screen with its link control holding `text`, taken over by `link`.
class LinkDialog {
  public:
    LinkDialog(HyperLinkControl& link, const std::wstring& text)
        : dialog_(CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MISSING_JRE),
                                     nullptr, plainDialog, 0)) {
        SetDlgItemTextW(dialog_, IDC_DOWNLOAD_LINK, text.c_str());
        subclassed_ = link.subclass(control());
        SetWindowPos(dialog_, HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        pump();
    }
    ~LinkDialog() { DestroyWindow(dialog_); }
    LinkDialog(const LinkDialog&) = delete;
    LinkDialog& operator=(const LinkDialog&) = delete;

    bool subclassed() const { return subclassed_; }
    HWND dialog() const { return dialog_; }
    HWND control() const { return GetDlgItem(dialog_, IDC_DOWNLOAD_LINK); }

    // Runs the messages waiting, through the dialog's keyboard handling as a modal loop would.
    void pump() const {
        for (int round = 0; round < 5; ++round) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (!IsDialogMessageW(dialog_, &message)) {
                    TranslateMessage(&message);
                    DispatchMessageW(&message);
                }
            }
            Sleep(20);
        }
    }

    void key(UINT virtualKey) const {
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
        PostMessageW(GetFocus(), WM_KEYDOWN, virtualKey, scan | 1);
        PostMessageW(GetFocus(), WM_KEYUP, virtualKey, scan | 0xC0000001);
        pump();
    }

    void mouse(UINT message, POINT point) const {
        SendMessageW(control(), message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                     MAKELPARAM(point.x, point.y));
    }

    // Whether the link paints the colour anywhere. Painted into memory (WM_PRINTCLIENT), so
    // that a window the opened command shows over the dialog does not matter.
    bool shows(COLORREF colour) const {
        RECT client{};
        GetClientRect(control(), &client);
        const HDC screen = GetDC(nullptr);
        const HDC memory = CreateCompatibleDC(screen);
        const HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
        ReleaseDC(nullptr, screen);
        const HGDIOBJ old = SelectObject(memory, bitmap);
        SendMessageW(control(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        bool found = false;
        for (int y = 0; y < client.bottom && !found; ++y)
            for (int x = 0; x < client.right && !found; ++x)
                found = GetPixel(memory, x, y) == colour;
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        return found;
    }

  private:
    HWND dialog_;
    bool subclassed_ = false;
};

// A command file that the link opens, leaving a marker file when it ran. Named relative to
// the current directory, so that the link's text is short and leaves room beside it.
class OpenedMarker {
  public:
    OpenedMarker() {
        GetCurrentDirectoryW(MAX_PATH, previous_);
        SetCurrentDirectoryW(folder_.path().c_str());
        writeBytesFile(folder_.file(L"o.cmd"), "@echo opened> marker.txt\r\n");
    }
    ~OpenedMarker() { SetCurrentDirectoryW(previous_); }
    OpenedMarker(const OpenedMarker&) = delete;
    OpenedMarker& operator=(const OpenedMarker&) = delete;

    static constexpr wchar_t address[] = L"o.cmd";

    // Waits a while for the command to have run; removes the marker for the next time. Starting
    // a command interpreter under Wine on a busy machine can take many seconds.
    bool opened(DWORD waitMs = 30000) {
        const std::wstring marker = folder_.file(L"marker.txt");
        for (DWORD waited = 0;; waited += 50) {
            // Taken once the command has written it whole, and removed once it is closed.
            if (readBytesFile(marker).find("opened") != std::string::npos) {
                for (int tries = 0; tries < 100 && !DeleteFileW(marker.c_str()); ++tries)
                    Sleep(50);
                return true;
            }
            if (waited >= waitMs)
                return false;
            Sleep(50);
        }
    }

  private:
    TempFolder folder_;
    wchar_t previous_[MAX_PATH] = {};
};

TEST(HyperLinkControl, TakesItsTextAndPaintsItInTheLinkColourWithATooltip) {
    HyperLinkControl link;
    const LinkDialog dialog(link, L"https://jdk.java.net/");
    ASSERT_TRUE(dialog.subclassed());
    EXPECT_EQ(link.label(), L"https://jdk.java.net/");
    EXPECT_EQ(link.address(), L"https://jdk.java.net/");
    const LONG_PTR style = GetWindowLongPtrW(dialog.control(), GWL_STYLE);
    EXPECT_TRUE((style & SS_NOTIFY) && (style & WS_TABSTOP));
    EXPECT_EQ(SendMessageW(dialog.control(), WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS);
    EXPECT_EQ(SendMessageW(dialog.control(), WM_GETFONT, 0, 0),
              SendMessageW(dialog.dialog(), WM_GETFONT, 0, 0));
    RECT client{};
    GetClientRect(dialog.control(), &client);
    const RECT& text = link.linkRect();
    EXPECT_GT(text.right, text.left + 10);
    EXPECT_LE(text.right, client.right);
    ASSERT_NE(link.toolTip(), nullptr);
    EXPECT_EQ(SendMessageW(link.toolTip(), TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_TRUE(dialog.shows(RGB(0, 0, 255)));
    saveWindowScreenshot(dialog.dialog(), L"hyperlink-dialog");

    // Disabled, it paints in the grey of disabled text.
    EnableWindow(dialog.control(), FALSE);
    EXPECT_TRUE(dialog.shows(GetSysColor(COLOR_GRAYTEXT)));
    EXPECT_FALSE(dialog.shows(RGB(0, 0, 255)));
}

TEST(HyperLinkControl, AnchorColoursComeFromTheBrowserSettingsWhenValid) {
    struct Case {
        const char* name;
        DWORD type;
        std::wstring text;
        COLORREF link;
    };
    const COLORREF blue = HyperLinkControl::defaultLinkColor;
    const Case cases[] = {
        {"red", REG_SZ, L"255,0,0", RGB(255, 0, 0)},
        {"expandable", REG_EXPAND_SZ, L"0,128,0", RGB(0, 128, 0)},
        {"two parts", REG_SZ, L"255,0", blue},
        {"empty third part", REG_SZ, L"255,0,", blue},
        {"-1", REG_SZ, L"-1,0,0", blue},
        {"12 characters", REG_SZ, L"0255,000,000", blue},
        {"a number", REG_DWORD, L"255,0,0", blue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ScopedSettingsValue value(L"Anchor Color", c.type, c.text);
        const ScopedSettingsValue visited(L"Anchor Color Visited", REG_SZ, L"0,0,128");
        HyperLinkControl link;
        const LinkDialog dialog(link, L"https://jdk.java.net/");
        EXPECT_EQ(link.linkColor(), c.link);
        EXPECT_EQ(link.visitedColor(), RGB(0, 0, 128));
        if (c.link != blue)
            EXPECT_TRUE(dialog.shows(c.link));
    }
}

TEST(HyperLinkControl, MouseOpensOnlyWhenPressedAndReleasedOnTheText) {
    OpenedMarker marker;
    HyperLinkControl link;
    const LinkDialog dialog(link, OpenedMarker::address);
    const RECT text = link.linkRect();
    RECT client{};
    GetClientRect(dialog.control(), &client);
    ASSERT_LT(text.right + 4, client.right) << "the text leaves room beside it";
    const POINT onText{(text.left + text.right) / 2, (text.top + text.bottom) / 2};
    const POINT besideText{text.right + 2, onText.y};

    // Pressed beside the text: nothing taken, nothing opened.
    dialog.mouse(WM_LBUTTONDOWN, besideText);
    EXPECT_NE(GetCapture(), dialog.control());
    dialog.mouse(WM_LBUTTONUP, besideText);
    // Pressed on the text and released beside it: nothing opened.
    dialog.mouse(WM_LBUTTONDOWN, onText);
    EXPECT_EQ(GetCapture(), dialog.control());
    EXPECT_EQ(GetFocus(), dialog.control());
    dialog.mouse(WM_LBUTTONUP, besideText);
    EXPECT_EQ(GetCapture(), nullptr);
    dialog.pump();
    EXPECT_FALSE(marker.opened(1500));
    EXPECT_FALSE(link.visited());
    EXPECT_TRUE(dialog.shows(HyperLinkControl::defaultLinkColor));

    // A click on the text opens it, and the link shows as visited from then on.
    dialog.mouse(WM_LBUTTONDOWN, onText);
    dialog.mouse(WM_LBUTTONUP, onText);
    EXPECT_TRUE(marker.opened());
    EXPECT_TRUE(link.visited());
    EXPECT_TRUE(dialog.shows(HyperLinkControl::defaultVisitedColor));
}

TEST(HyperLinkControl, TabReachesTheLinkWhichSpaceAndEnterOpen) {
    OpenedMarker marker;
    HyperLinkControl link;
    const LinkDialog dialog(link, OpenedMarker::address);
    SetFocus(GetDlgItem(dialog.dialog(), IDC_BROWSE));
    dialog.key(VK_TAB);
    ASSERT_EQ(GetFocus(), dialog.control());
    dialog.key(VK_SPACE);
    EXPECT_TRUE(marker.opened());
    // The command the link opened may have taken the focus with a window of its own (Wine's
    // console for it): the user comes back to the link before pressing the next key.
    SetFocus(dialog.control());
    dialog.key(VK_RETURN);
    EXPECT_TRUE(marker.opened());
    // Other characters do nothing.
    SetFocus(dialog.control());
    dialog.key('A');
    EXPECT_FALSE(marker.opened(1000));
}

TEST(HyperLinkControl, AFailedOpenLeavesTheLinkUnvisited) {
    HyperLinkControl link;
    const LinkDialog dialog(link, L"qova-no-such-file-anywhere.none");
    EXPECT_FALSE(link.navigate());
    EXPECT_FALSE(link.visited());
}

} // namespace
