#include "ui/DpiScaling.h"

#include <cstdint>

int scaledBy(int value, int numerator, int denominator) {
    const int64_t product = int64_t{value} * numerator;
    const int64_t half = denominator / 2;
    return static_cast<int>(product < 0 ? (product - half) / denominator
                                        : (product + half) / denominator);
}

namespace {

// Pixels back to dialog units and forward again. The way back is exact for a value the dialog
// manager computed: one dialog unit is at least 1.5 pixels wide (base units of 6 and more, a
// quarter of which) and high (13 and more, an eighth), so rounding the inverse finds the one
// dialog unit that gave the pixels. Pixels added on top (a message that grew the dialog) come
// back rounded to the nearest dialog unit. Always derived from the first layout, never from
// an earlier rescaled one, so that moving back and forth gives the first layout again.
int rescaled(int pixels, int from, int to, int unitsPerBase) {
    if (from == to || from <= 0)
        return pixels;
    return scaledBy(scaledBy(pixels, unitsPerBase, from), to, unitsPerBase);
}

} // namespace

LayoutRect rescaledDialogRect(const LayoutRect& rect, DialogBaseUnits from, DialogBaseUnits to) {
    // The position and the size each, as the dialog manager maps them from the template.
    const int left = rescaled(rect.left, from.x, to.x, 4);
    const int top = rescaled(rect.top, from.y, to.y, 8);
    return {left, top, left + rescaled(rect.width(), from.x, to.x, 4),
            top + rescaled(rect.height(), from.y, to.y, 8)};
}

LayoutSize rescaledDialogSize(LayoutSize size, DialogBaseUnits from, DialogBaseUnits to) {
    return {rescaled(size.width, from.x, to.x, 4), rescaled(size.height, from.y, to.y, 8)};
}

int fontHeightAtDpi(int height, int fromDpi, int toDpi) {
    if (fromDpi == toDpi || fromDpi <= 0)
        return height;
    // Through whole points, as the dialog template gives the size: 8 points is -11 at 96 DPI
    // and -21 at 192, not twice -11.
    const int points = scaledBy(height, 72, fromDpi);
    return scaledBy(points, toDpi, 72);
}
