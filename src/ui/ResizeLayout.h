// How a control of a resizable dialog follows the dialog's size: its rectangle as captured when
// the layout was set up, moved and stretched by how much the client area has grown since.
#pragma once

#include "ui/Geometry.h"

namespace resize {
inline constexpr int stretchWidth = 0x01;  // the right edge follows the dialog's width
inline constexpr int stretchHeight = 0x02; // the bottom edge follows the dialog's height
inline constexpr int moveRight = 0x04;     // keeps its width, follows the right edge
inline constexpr int moveDown = 0x08;      // keeps its height, follows the bottom edge
inline constexpr int repaint = 0x10;       // repainted after each layout
inline constexpr int sizeGrip = 0x4000;    // the grip the resizer made itself
// Any of these means the control is positioned at each layout.
inline constexpr int positioned = stretchWidth | stretchHeight | moveRight | moveDown | repaint;
} // namespace resize

struct ResizeEntry {
    int controlId = 0;
    int flags = 0;
    LayoutRect initialRect; // client coordinates when the layout was set up
};

// The control's rectangle for the client size `client`, from `current` (where it is now, which
// is kept on an axis that it does not follow) and the captured entry. Derived from the first
// rectangle and the total growth only, so repeated resizing never drifts.
LayoutRect resizedRect(const ResizeEntry& entry, const LayoutRect& current,
                       LayoutSize initialClient, LayoutSize client);

// A size raised to at least the minimum on each axis.
LayoutSize atLeast(LayoutSize size, LayoutSize minimum);
