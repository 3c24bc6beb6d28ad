#include "ui/DialogResizer.h"

namespace {

bool isChild(HWND window) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0;
}

// A control's rectangle in the client coordinates of its dialog.
LayoutRect clientRectOf(HWND control, HWND dialog) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

LayoutSize clientSizeOf(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

} // namespace

void DialogResizer::initResize(HWND dialog, std::span<const ResizeRule> map) {
    dialog_ = dialog;
    // The dialog paints over its children's areas otherwise, and they flicker while resized.
    const LONG_PTR style = GetWindowLongPtrW(dialog, GWL_STYLE);
    if (!(style & WS_CLIPCHILDREN))
        SetWindowLongPtrW(dialog, GWL_STYLE, style | WS_CLIPCHILDREN);
    if (!isChild(dialog)) {
        // A sizing border without this frame draws the thin frame of a plain window; and the
        // frame would show the class icon in the caption unless the small icon is set to none.
        const LONG_PTR extended = GetWindowLongPtrW(dialog, GWL_EXSTYLE);
        if (!(extended & WS_EX_DLGMODALFRAME))
            SetWindowLongPtrW(dialog, GWL_EXSTYLE, extended | WS_EX_DLGMODALFRAME);
        if (!SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0))
            SendMessageW(dialog, WM_SETICON, ICON_SMALL, 0);
    }

    // Set up again: the grip made last time goes, and so does everything captured.
    if (const HWND oldGrip = GetDlgItem(dialog, gripId);
        oldGrip && !entries_.empty() && (entries_.front().flags & resize::sizeGrip))
        DestroyWindow(oldGrip);
    entries_.clear();
    minTrackSize_ = {-1, -1};
    hasGrip_ = false;

    initialClientSize_ = clientSizeOf(dialog);

    if (!GetDlgItem(dialog, gripId)) {
        // Created over the whole client area: the style shrinks it to the system's grip size
        // in the bottom-right corner.
        const HWND grip =
            CreateWindowExW(0, L"SCROLLBAR", nullptr,
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_SIZEBOX | SBS_SIZEGRIP |
                                SBS_SIZEBOXBOTTOMRIGHTALIGN,
                            0, 0, initialClientSize_.width, initialClientSize_.height, dialog,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(gripId)),
                            GetModuleHandleW(nullptr), nullptr);
        if (grip) {
            hasGrip_ = true;
            entries_.push_back(
                {gripId, resize::moveRight | resize::moveDown | resize::repaint | resize::sizeGrip,
                 clientRectOf(grip, dialog)});
        }
    }

    if (isChild(dialog)) {
        minTrackSize_ = initialClientSize_;
    } else {
        RECT windowRect{};
        GetWindowRect(dialog, &windowRect);
        minTrackSize_ = {windowRect.right - windowRect.left, windowRect.bottom - windowRect.top};
    }

    for (const ResizeRule& rule : map) {
        if (const HWND control = GetDlgItem(dialog, rule.controlId))
            entries_.push_back({rule.controlId, rule.flags, clientRectOf(control, dialog)});
    }
}

void DialogResizer::onSize(WPARAM sizeType, LPARAM size) {
    if (hasGrip_) {
        // A grip on a maximised window would offer a resize that the window cannot make.
        if (sizeType == SIZE_MAXIMIZED)
            ShowWindow(GetDlgItem(dialog_, gripId), SW_HIDE);
        else if (sizeType == SIZE_RESTORED)
            ShowWindow(GetDlgItem(dialog_, gripId), SW_SHOW);
    }
    if (sizeType == SIZE_MINIMIZED)
        return;
    updateLayout(static_cast<short>(LOWORD(size)), static_cast<short>(HIWORD(size)));
}

void DialogResizer::onGetMinMaxInfo(MINMAXINFO& info) const {
    if (minTrackSize_.width != -1 && minTrackSize_.height != -1)
        info.ptMinTrackSize = {minTrackSize_.width, minTrackSize_.height};
}

void DialogResizer::updateLayout(int width, int height) {
    LayoutSize client{width, height};
    if (isChild(dialog_) && minTrackSize_.width != -1 && minTrackSize_.height != -1)
        client = atLeast(client, minTrackSize_);

    // One redraw at the end instead of one per moved control.
    const bool redrawOff = IsWindowVisible(dialog_) != FALSE;
    if (redrawOff)
        SendMessageW(dialog_, WM_SETREDRAW, FALSE, 0);
    for (const ResizeEntry& entry : entries_) {
        const HWND control = GetDlgItem(dialog_, entry.controlId);
        if (!control)
            continue;
        const LayoutRect rect =
            resizedRect(entry, clientRectOf(control, dialog_), initialClientSize_, client);
        if (entry.flags & resize::repaint)
            InvalidateRect(control, nullptr, TRUE);
        if (entry.flags & resize::positioned)
            SetWindowPos(control, nullptr, rect.left, rect.top, rect.width(), rect.height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (redrawOff)
        SendMessageW(dialog_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(dialog_, nullptr, nullptr,
                 RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}
