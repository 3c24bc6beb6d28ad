#include "ui/DialogResizer.h"

#include "launcher/LaunchTrace.h"
#include "ui/WindowDc.h"
#include "ui/WindowDpi.h"

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

// The base units of a font, as the dialog manager measures them when it lays a template out.
DialogBaseUnits baseUnitsOf(HWND dialog, HFONT font) {
    const WindowDc dc(dialog);
    if (!dc.get())
        return {};
    const HGDIOBJ old = SelectObject(dc.get(), font);
    TEXTMETRICW metrics{};
    SIZE letters{};
    GetTextMetricsW(dc.get(), &metrics);
    GetTextExtentPoint32W(dc.get(), L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52,
                          &letters);
    SelectObject(dc.get(), old);
    return {(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

LayoutSize windowSizeOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace

void DialogResizer::initResize(HWND dialog, std::span<const ResizeRule> map,
                               const char* traceName) {
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
    if (hasGrip_)
        DestroyWindow(GetDlgItem(dialog, gripId));
    hasGrip_ = false;

    initialClientSize_ = clientSizeOf(dialog);

    if (!GetDlgItem(dialog, gripId)) {
        // Created over the whole client area: the style shrinks it to the system's grip size
        // in the bottom-right corner.
        hasGrip_ = CreateWindowExW(0, L"SCROLLBAR", nullptr,
                                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_SIZEBOX |
                                       SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN,
                                   0, 0, initialClientSize_.width, initialClientSize_.height,
                                   dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(gripId)),
                                   GetModuleHandleW(nullptr), nullptr) != nullptr;
    }

    minTrackSize_ = isChild(dialog) ? initialClientSize_ : windowSizeOf(dialog);
    captureLayout(dialog, traceName, map);
}

void DialogResizer::captureLayout(HWND dialog, const char* traceName,
                                  std::span<const ResizeRule> map) {
    dialog_ = dialog;
    traceName_ = traceName;
    initialClientSize_ = clientSizeOf(dialog);
    controls_.clear();
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        int flags = hasGrip_ && id == gripId
                        ? resize::moveRight | resize::moveDown | resize::repaint | resize::sizeGrip
                        : 0;
        for (const ResizeRule& rule : map)
            if (rule.controlId == id)
                flags = rule.flags;
        controls_.push_back({child, flags, clientRectOf(child, dialog)});
    }
    // The dialog manager's own mapping, exact, rather than a measurement that could differ
    // from it by its rounding.
    RECT units{0, 0, 4, 8};
    MapDialogRect(dialog, &units);
    firstUnits_ = units_ = {units.right, units.bottom};
    firstFont_ = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    firstDpi_ = windowDpi(dialog);
    traceWindowDpi(traceName, firstDpi_, false);
}

void DialogResizer::onDpiChanged(WPARAM dpi, LPARAM suggested) {
    const int newDpi = LOWORD(dpi);
    traceWindowDpi(traceName_, newDpi, true);
    // Back at the first scale the dialog manager's font and layout come back as they were;
    // elsewhere the template's font at the new scale, measured as the dialog manager does.
    HFONT font = firstFont_;
    UniqueGdiObject made;
    LOGFONTW description{};
    if (newDpi != firstDpi_ && GetObjectW(firstFont_, sizeof description, &description)) {
        description.lfHeight = fontHeightAtDpi(description.lfHeight, firstDpi_, newDpi);
        made.reset(CreateFontIndirectW(&description));
        if (made)
            font = static_cast<HFONT>(made.get());
    }
    units_ = font == firstFont_ ? firstUnits_ : baseUnitsOf(dialog_, font);

    // The link takes the new font as its own and underlines it again.
    for (const PlacedControl& placed : controls_) {
        SendMessageW(placed.control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        const LayoutRect rect = rescaledDialogRect(placed.rect, firstUnits_, units_);
        SetWindowPos(placed.control, nullptr, rect.left, rect.top, rect.width(), rect.height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The controls have let go of the font made for the scale before.
    font_ = std::move(made);

    // The suggested rectangle as it is: its position keeps the dialog on the monitor that
    // Windows chose, and its size is the dialog manager's for the font at the new scale. The
    // minimum is off meanwhile, or the one of a larger scale would refuse the smaller size;
    // then it is the first client area at the new scale in the frame at the new scale.
    const bool hasMinimum = minTrackSize_.width != -1;
    minTrackSize_ = {-1, -1};
    const auto& rect = *reinterpret_cast<const RECT*>(suggested);
    SetWindowPos(dialog_, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (hasMinimum) {
        const LayoutSize client = rescaledDialogSize(initialClientSize_, firstUnits_, units_);
        const LayoutSize current = clientSizeOf(dialog_);
        const LayoutSize window = windowSizeOf(dialog_);
        minTrackSize_ = isChild(dialog_) ? client
                                         : LayoutSize{window.width - current.width + client.width,
                                                      window.height - current.height +
                                                          client.height};
    }
    const LayoutSize laidOut = clientSizeOf(dialog_);
    updateLayout(laidOut.width, laidOut.height);
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
    for (const PlacedControl& placed : controls_) {
        if (!(placed.flags & resize::positioned))
            continue;
        const HWND control = placed.control;
        // The map's rectangles and the first client area at the current scale.
        const ResizeEntry scaled{0, placed.flags,
                                 rescaledDialogRect(placed.rect, firstUnits_, units_)};
        const LayoutRect rect =
            resizedRect(scaled, clientRectOf(control, dialog_),
                        rescaledDialogSize(initialClientSize_, firstUnits_, units_), client);
        if (placed.flags & resize::repaint)
            InvalidateRect(control, nullptr, TRUE);
        SetWindowPos(control, nullptr, rect.left, rect.top, rect.width(), rect.height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (redrawOff)
        SendMessageW(dialog_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(dialog_, nullptr, nullptr,
                 RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}
