// Where a window goes when it is centred over a reference rectangle inside an area.
#pragma once

#include "ui/Geometry.h"

// The top-left corner that centres a window of `size` over `reference`, moved back inside
// `area` where it would stick out on the right or bottom; the corner itself always stays
// inside the area, even for a window larger than it.
LayoutPoint centeredPosition(const LayoutRect& reference, const LayoutRect& area, LayoutSize size);
