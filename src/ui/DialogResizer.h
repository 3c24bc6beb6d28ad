// Makes a dialog resizable: a size grip in the bottom-right corner, a minimum size (the size it
// first had) and controls that move or stretch with it by a resize map. And lays a dialog out
// again, resizable or not, when it moves to a monitor of another display scale.
#pragma once

#include "launcher/UniqueHandle.h"
#include "ui/DpiScaling.h"
#include "ui/ResizeLayout.h"

#include <windows.h>

#include <span>
#include <vector>

struct ResizeRule {
    int controlId;
    int flags; // resize:: bits
};

class DialogResizer {
  public:
    // The id the size grip gets.
    static constexpr int gripId = 0xE801;

    // From WM_INITDIALOG, after the dialog's own set-up: captures where the controls of the
    // map are now, and makes that the layout every later size derives from.
    // `traceName` names the dialog in the launch trace.
    void initResize(HWND dialog, std::span<const ResizeRule> map, const char* traceName);
    // The part of initResize that a dialog of a fixed size needs as well: captures every
    // control (with its rule of the map), the dialog's font and display scale, which every
    // later scale derives from.
    void captureLayout(HWND dialog, const char* traceName, std::span<const ResizeRule> map = {});
    // WM_DPICHANGED: takes the suggested rectangle and lays the controls out with a font of
    // the new scale, as the dialog would have been opened there.
    void onDpiChanged(WPARAM dpi, LPARAM suggested);
    void onSize(WPARAM sizeType, LPARAM size);
    void onGetMinMaxInfo(MINMAXINFO& info) const;
    void updateLayout(int width, int height);

  private:
    struct PlacedControl {
        HWND control;
        int flags;       // resize:: bits, none for a control outside the map
        LayoutRect rect; // client coordinates when the layout was captured
    };

    HWND dialog_ = nullptr;
    const char* traceName_ = nullptr;
    std::vector<PlacedControl> controls_;
    int firstDpi_ = 0;
    DialogBaseUnits firstUnits_;
    DialogBaseUnits units_;
    HFONT firstFont_ = nullptr; // the dialog manager's, which it deletes
    UniqueGdiObject font_;      // made for another scale

    LayoutSize initialClientSize_;
    LayoutSize minTrackSize_{-1, -1};
    bool hasGrip_ = false;
};
