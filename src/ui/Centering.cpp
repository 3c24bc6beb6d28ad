#include "ui/Centering.h"

namespace {

// One axis: centred, then pulled back from the far edge, then from the near edge, so that for
// a window larger than the area the near edge wins and its caption stays reachable.
int centeredCoordinate(int referenceStart, int referenceEnd, int areaStart, int areaEnd,
                       int length) {
    int position = (referenceStart + referenceEnd) / 2 - length / 2;
    if (position + length > areaEnd)
        position = areaEnd - length;
    if (position < areaStart)
        position = areaStart;
    return position;
}

} // namespace

LayoutPoint centeredPosition(const LayoutRect& reference, const LayoutRect& area, LayoutSize size) {
    return {
        centeredCoordinate(reference.left, reference.right, area.left, area.right, size.width),
        centeredCoordinate(reference.top, reference.bottom, area.top, area.bottom, size.height)};
}
