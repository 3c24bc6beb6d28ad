// Makes a dialog resizable: a size grip in the bottom-right corner, a minimum size (the size it
// first had) and controls that move or stretch with it by a resize map.
#pragma once

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
    void initResize(HWND dialog, std::span<const ResizeRule> map);
    void onSize(WPARAM sizeType, LPARAM size);
    void onGetMinMaxInfo(MINMAXINFO& info) const;
    void updateLayout(int width, int height);

  private:
    HWND dialog_ = nullptr;
    std::vector<ResizeEntry> entries_;
    LayoutSize initialClientSize_;
    LayoutSize minTrackSize_{-1, -1};
    bool hasGrip_ = false;
};
