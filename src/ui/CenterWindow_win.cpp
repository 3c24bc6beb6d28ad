#include "ui/CenterWindow.h"

#include "ui/Centering.h"

namespace {

LayoutRect layoutRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// An owner the user cannot see is no place to put a dialog: it would open over nothing, or
// over the taskbar button of a minimised window.
HWND usableOwner(HWND window) {
    const HWND owner = GetWindow(window, GW_OWNER);
    if (!owner)
        return nullptr;
    const LONG_PTR style = GetWindowLongPtrW(owner, GWL_STYLE);
    if (!(style & WS_VISIBLE) || (style & WS_MINIMIZE))
        return nullptr;
    return owner;
}

} // namespace

bool centerWindow(HWND window) {
    RECT windowRect{};
    GetWindowRect(window, &windowRect);
    const LayoutSize size{windowRect.right - windowRect.left, windowRect.bottom - windowRect.top};

    LayoutRect reference;
    LayoutRect area;
    if (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) {
        // Positions of a child are in its parent's client coordinates.
        RECT client{};
        GetClientRect(GetParent(window), &client);
        reference = area = layoutRect(client);
    } else {
        const HWND owner = usableOwner(window);
        const HMONITOR monitor =
            MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTONEAREST);
        MONITORINFO monitorInfo{};
        monitorInfo.cbSize = sizeof monitorInfo;
        if (!monitor || !GetMonitorInfoW(monitor, &monitorInfo))
            return false;
        area = layoutRect(monitorInfo.rcWork);
        reference = area;
        if (owner) {
            RECT ownerRect{};
            GetWindowRect(owner, &ownerRect);
            reference = layoutRect(ownerRect);
        }
    }
    const LayoutPoint position = centeredPosition(reference, area, size);
    return SetWindowPos(window, nullptr, position.x, position.y, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}
