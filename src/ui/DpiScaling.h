// The arithmetic of moving a window between monitors of different scale: a dialog's controls
// laid out again for the font at the new scale, and its font's height there.
#pragma once

#include "ui/Geometry.h"

// value * numerator / denominator rounded half away from zero, as the system's MulDiv rounds
// (the dialog manager uses it to turn dialog units into pixels); denominator > 0.
[[nodiscard]] int scaledBy(int value, int numerator, int denominator);

// A dialog's base units: the average character width and height of its font, in pixels.
struct DialogBaseUnits {
    int x = 0;
    int y = 0;

    friend bool operator==(const DialogBaseUnits&, const DialogBaseUnits&) = default;
};

// A rectangle the dialog manager laid out from dialog units at `from`, as it lays the same
// dialog units out at `to`.
[[nodiscard]] LayoutRect rescaledDialogRect(const LayoutRect& rect, DialogBaseUnits from,
                                            DialogBaseUnits to);
[[nodiscard]] LayoutSize rescaledDialogSize(LayoutSize size, DialogBaseUnits from,
                                            DialogBaseUnits to);

// The height (a LOGFONT's, negative for the character height) that the dialog manager gives a
// font at `toDpi`, for the font it made with `height` at `fromDpi`.
[[nodiscard]] int fontHeightAtDpi(int height, int fromDpi, int toDpi);
