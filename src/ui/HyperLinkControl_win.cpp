#include "ui/HyperLinkControl.h"

#include "ui/ColorText.h"
#include "ui/Shell.h"
#include "ui/WindowDc.h"

#include <commctrl.h>

#include <cstddef>

namespace {

// The property that leads from the control's window to its object.
constexpr wchar_t objectProperty[] = L"QovaHyperLink";
constexpr UINT_PTR toolId = 1;

// The size of TTTOOLINFOW without its last reserved member: every version of the tooltip
// control since common controls 4.70 takes it. 64 bytes in the 64-bit build, 44 in the 32-bit.
constexpr UINT toolInfoSize = offsetof(TTTOOLINFOW, lParam) + sizeof(LPARAM);
static_assert(toolInfoSize == (sizeof(void*) == 8 ? 64 : 44));

// Static styles that show a picture or a shape instead of text: icon, rectangles and frames,
// owner drawn, bitmap and enhanced metafile.
bool showsNoText(LONG_PTR style) {
    const LONG_PTR type = style & SS_TYPEMASK;
    return (type >= SS_ICON && type <= SS_WHITEFRAME) ||
           (type >= SS_OWNERDRAW && type <= SS_ENHMETAFILE);
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// One of the browser's anchor colours from the user's settings, when it is set and valid.
std::optional<COLORREF> anchorColor(HKEY key, const wchar_t* name) {
    // 12 characters with the terminator; a longer value does not fit and is not used.
    wchar_t buffer[12];
    DWORD bytes = sizeof buffer;
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    const auto text = colorValueText(type, buffer, bytes);
    if (!text)
        return std::nullopt;
    return parseColorText(*text);
}

} // namespace

bool HyperLinkControl::subclass(HWND control) {
    if (!normalFont_)
        normalFont_ = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (!SetPropW(control, objectProperty, this))
        return false;
    const auto previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HyperLinkControl::windowProc)));
    if (!previous) {
        RemovePropW(control, objectProperty);
        return false;
    }
    window_ = control;
    previousProc_ = previous;
    init();
    return true;
}

void HyperLinkControl::init() {
    wchar_t className[8] = {};
    GetClassNameW(window_, className, 8);
    if (lstrcmpiW(className, L"static") == 0) {
        LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
        // SS_NOTIFY: a static control ignores the mouse without it. WS_TABSTOP: the link is
        // a control the keyboard must reach, and dialog templates rarely mark static text so.
        style |= SS_NOTIFY | WS_TABSTOP;
        SetWindowLongPtrW(window_, GWL_STYLE, style);
        if (showsNoText(style))
            paintLabel_ = false;
    }
    linkCursor_ = LoadCursorW(nullptr, IDC_HAND);

    if (paintLabel_) {
        if (!normalFont_) {
            LOGFONTW iconFont{};
            if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof iconFont, &iconFont, 0)) {
                ownedNormalFont_.reset(CreateFontIndirectW(&iconFont));
                normalFont_ = static_cast<HFONT>(ownedNormalFont_.get());
            }
        }
        if (!linkFont_)
            createLinkFont();
    }

    // Owned by the control, so that it goes with it; the class comes from the common controls
    // that the executable's manifest names, which the system loads when it is first used.
    toolTip_.reset(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                   GetModuleHandleW(nullptr), nullptr));

    if (label_.empty())
        label_ = windowText(window_);
    calcLinkRect();
    if (!address_.empty()) {
        addTool();
    } else if (!label_.empty()) {
        setAddress(label_);
    }
    if (paintLabel_)
        readAnchorColors();
}

void HyperLinkControl::createLinkFont() {
    LOGFONTW font{};
    const HGDIOBJ base =
        normalFont_ ? static_cast<HGDIOBJ>(normalFont_) : GetStockObject(SYSTEM_FONT);
    if (!GetObjectW(base, sizeof font, &font))
        return;
    font.lfUnderline = TRUE;
    ownedLinkFont_.reset(CreateFontIndirectW(&font));
    linkFont_ = static_cast<HFONT>(ownedLinkFont_.get());
}

void HyperLinkControl::setAddress(const std::wstring& text) {
    address_ = text;
    if (label_.empty())
        calcLinkRect();
    addTool();
}

void HyperLinkControl::addTool() {
    if (!toolTip_)
        return;
    SendMessageW(toolTip_.get(), TTM_ACTIVATE, TRUE, 0);
    TTTOOLINFOW tool{};
    tool.cbSize = toolInfoSize;
    tool.hwnd = window_;
    tool.uId = toolId;
    tool.rect = linkRect_;
    tool.hinst = GetModuleHandleW(nullptr);
    // The tooltip keeps a copy of the text.
    tool.lpszText = const_cast<wchar_t*>(address_.c_str());
    SendMessageW(toolTip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void HyperLinkControl::readAnchorColors() {
    // Read access only: the colours are the user's, and nothing here writes them.
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Settings", 0,
                      KEY_READ, &opened) != ERROR_SUCCESS)
        return;
    const UniqueRegistryKey key(opened);
    if (const auto color = anchorColor(key.get(), L"Anchor Color"))
        linkColor_ = *color;
    if (const auto color = anchorColor(key.get(), L"Anchor Color Visited"))
        visitedColor_ = *color;
}

const std::wstring& HyperLinkControl::shownText() const {
    return label_.empty() ? address_ : label_;
}

UINT HyperLinkControl::textFormat() const {
    const LONG_PTR type = GetWindowLongPtrW(window_, GWL_STYLE) & SS_TYPEMASK;
    const UINT alignment = type == SS_CENTER ? DT_CENTER : type == SS_RIGHT ? DT_RIGHT : DT_LEFT;
    return DT_WORDBREAK | alignment;
}

void HyperLinkControl::calcLinkRect() {
    if (!window_ || !IsWindow(window_) || shownText().empty())
        return;
    RECT client{};
    GetClientRect(window_, &client);
    linkRect_ = client;
    if (!paintLabel_)
        return;
    const WindowDc dc(window_);
    if (!dc.get())
        return;
    const HGDIOBJ oldFont = SelectObject(dc.get(), linkFont_ ? linkFont_ : normalFont_);
    RECT measured = client;
    const std::wstring& text = shownText();
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &measured,
              textFormat() | DT_CALCRECT);
    SelectObject(dc.get(), oldFont);
    // DT_CALCRECT measures from the left edge whatever the alignment; move the measured text to
    // where the alignment puts it.
    const LONG_PTR type = GetWindowLongPtrW(window_, GWL_STYLE) & SS_TYPEMASK;
    LONG shift = 0;
    if (type == SS_CENTER)
        shift = (client.right - measured.right) / 2;
    else if (type == SS_RIGHT)
        shift = client.right - measured.right;
    OffsetRect(&measured, shift, 0);
    linkRect_ = measured;
}

bool HyperLinkControl::isOverLink(POINT clientPoint) const {
    return !address_.empty() && PtInRect(&linkRect_, clientPoint);
}

bool HyperLinkControl::navigate() {
    if (!openWithShell(address_))
        return false;
    visited_ = true;
    InvalidateRect(window_, nullptr, TRUE);
    return true;
}

void HyperLinkControl::paint(HDC dc) {
    RECT client{};
    GetClientRect(window_, &client);
    // The dialog's own background, so that the link sits on whatever the dialog paints.
    if (const auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(GetParent(window_), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(window_))))
        FillRect(dc, &client, brush);

    SetBkMode(dc, TRANSPARENT);
    const COLORREF color = !IsWindowEnabled(window_) ? GetSysColor(COLOR_GRAYTEXT)
                           : visited_                ? visitedColor_
                                                     : linkColor_;
    const COLORREF oldColor = SetTextColor(dc, color);
    const HGDIOBJ oldFont = SelectObject(dc, linkFont_ ? linkFont_ : normalFont_);
    const std::wstring& text = shownText();
    RECT textRect = linkRect_;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, textFormat());
    if (GetFocus() == window_)
        DrawFocusRect(dc, &linkRect_);
    SetTextColor(dc, oldColor);
    SelectObject(dc, oldFont);
}

LRESULT CALLBACK HyperLinkControl::windowProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    auto* self = static_cast<HyperLinkControl*>(GetPropW(window, objectProperty));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handleMessage(message, wParam, lParam);
}

LRESULT HyperLinkControl::passOn(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(previousProc_, window_, message, wParam, lParam);
}

LRESULT HyperLinkControl::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && toolTip_) {
        MSG relayed{window_, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
        const DWORD position = GetMessagePos();
        relayed.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
        SendMessageW(toolTip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};

    switch (message) {
    case WM_MOUSEMOVE:
        if (!isOverLink(point))
            break;
        SetCursor(linkCursor_);
        return 0;
    case WM_SETCURSOR: {
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(window_, &cursor);
        if (!isOverLink(cursor))
            break;
        SetCursor(linkCursor_);
        return TRUE;
    }
    case WM_LBUTTONDOWN:
        if (!PtInRect(&linkRect_, point))
            break;
        SetFocus(window_);
        SetCapture(window_);
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() != window_)
            break;
        ReleaseCapture();
        // Released where it was pressed: a press that slides off the text opens nothing.
        if (PtInRect(&linkRect_, point))
            navigate();
        return 0;
    case WM_CHAR:
        if (wParam != VK_RETURN && wParam != VK_SPACE)
            break;
        navigate();
        return 0;
    case WM_GETDLGCODE: {
        // Characters reach the link in a dialog; so does Enter, which the dialog would
        // otherwise take for its default button instead of the focused link.
        const auto* pending = reinterpret_cast<const MSG*>(lParam);
        if (pending && pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN)
            return DLGC_WANTCHARS | DLGC_WANTMESSAGE;
        return DLGC_WANTCHARS;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (!paintLabel_)
            break;
        InvalidateRect(window_, nullptr, TRUE);
        return 0;
    case WM_SIZE:
        calcLinkRect();
        InvalidateRect(window_, nullptr, TRUE);
        return 0;
    case WM_SETFONT:
        ownedNormalFont_.reset();
        normalFont_ = reinterpret_cast<HFONT>(wParam);
        if (ownedLinkFont_)
            createLinkFont();
        calcLinkRect();
        if (LOWORD(lParam)) {
            InvalidateRect(window_, nullptr, TRUE);
            UpdateWindow(window_);
        }
        return 0;
    case WM_ENABLE:
        InvalidateRect(window_, nullptr, TRUE);
        UpdateWindow(window_);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(normalFont_);
    case WM_UPDATEUISTATE:
        // The focus rectangle is always drawn on the focused link, keyboard cues or not.
        return 0;
    case WM_ERASEBKGND:
        if (!paintLabel_)
            break;
        return 1; // the painting fills the background
    case WM_PAINT:
        if (!paintLabel_)
            break;
        {
            PAINTSTRUCT ps;
            if (const HDC dc = BeginPaint(window_, &ps)) {
                paint(dc);
                EndPaint(window_, &ps);
            }
        }
        return 0;
    case WM_PRINTCLIENT:
        if (!paintLabel_)
            break;
        paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_DESTROY:
        toolTip_.reset();
        linkFont_ = nullptr;
        ownedLinkFont_.reset();
        if (ownedNormalFont_) {
            normalFont_ = nullptr;
            ownedNormalFont_.reset();
        }
        break;
    case WM_NCDESTROY: {
        // The last message of the window: hand it back to its own procedure for good.
        const WNDPROC previous = previousProc_;
        const HWND window = window_;
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropW(window, objectProperty);
        window_ = nullptr;
        return CallWindowProcW(previous, window, message, wParam, lParam);
    }
    default:
        break;
    }
    return passOn(message, wParam, lParam);
}
