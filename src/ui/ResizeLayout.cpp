#include "ui/ResizeLayout.h"

#include <algorithm>

LayoutRect resizedRect(const ResizeEntry& entry, const LayoutRect& current,
                       LayoutSize initialClient, LayoutSize client) {
    LayoutRect rect = current;
    const LayoutRect& first = entry.initialRect;
    if (entry.flags & (resize::stretchWidth | resize::moveRight)) {
        rect.right = first.right + client.width - initialClient.width;
        if (entry.flags & resize::moveRight)
            rect.left = first.left + rect.right - first.right;
    }
    if (entry.flags & (resize::stretchHeight | resize::moveDown)) {
        rect.bottom = first.bottom + client.height - initialClient.height;
        if (entry.flags & resize::moveDown)
            rect.top = first.top + rect.bottom - first.bottom;
    }
    return rect;
}

LayoutSize atLeast(LayoutSize size, LayoutSize minimum) {
    return {std::max(size.width, minimum.width), std::max(size.height, minimum.height)};
}
