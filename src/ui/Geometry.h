// Plain rectangles and sizes for the layout arithmetic, free of <windows.h> so that it is
// tested natively; the Windows side converts to and from RECT at its calls.
#pragma once

struct LayoutSize {
    int width = 0;
    int height = 0;

    friend bool operator==(const LayoutSize&, const LayoutSize&) = default;
};

struct LayoutPoint {
    int x = 0;
    int y = 0;

    friend bool operator==(const LayoutPoint&, const LayoutPoint&) = default;
};

struct LayoutRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }

    friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};
