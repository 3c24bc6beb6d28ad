// Centring a dialog inside a work area, and moving and stretching controls as a dialog grows.
#include "ui/Centering.h"
#include "ui/ResizeLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(Centering, CentredThenClampedIntoTheArea) {
    const LayoutRect screen{0, 0, 1280, 984};
    struct Case {
        const char* name;
        LayoutRect reference;
        LayoutRect area;
        LayoutSize size;
        LayoutPoint expected;
    };
    const Case cases[] = {
        {"over an owner", {100, 100, 500, 400}, screen, {200, 100}, {200, 200}},
        {"odd sizes divide downwards", {0, 0, 301, 201}, screen, {101, 51}, {100, 75}},
        {"on the work area", screen, screen, {400, 300}, {440, 342}},
        {"owner near the right edge", {1100, 0, 1280, 100}, screen, {400, 300}, {880, 0}},
        {"owner near the bottom edge", {0, 900, 100, 984}, screen, {200, 300}, {0, 684}},
        {"owner off the left edge", {-300, 10, -100, 110}, screen, {400, 60}, {0, 30}},
        // Larger than the area: the top-left corner stays in it, the caption reachable.
        {"larger than the area", screen, screen, {1500, 1200}, {0, 0}},
        {"work area of a second monitor",
         {1280, 0, 2560, 1024},
         {1280, 0, 2560, 984},
         {2000, 100},
         {1280, 462}},
        // A work area that does not start at 0 (taskbar on top or left).
        {"taskbar on the left", {0, 0, 200, 200}, {60, 40, 1280, 1024}, {300, 300}, {60, 40}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(centeredPosition(c.reference, c.area, c.size), c.expected);
    }
}

TEST(ResizeLayout, EachFlagFollowsItsEdge) {
    const LayoutSize initial{400, 300};
    const LayoutRect first{10, 20, 110, 70};
    struct Case {
        const char* name;
        int flags;
        LayoutSize client;
        LayoutRect expected;
    };
    const Case cases[] = {
        {"nothing", 0, {500, 360}, first},
        {"stretch width", resize::stretchWidth, {500, 360}, {10, 20, 210, 70}},
        {"stretch height", resize::stretchHeight, {500, 360}, {10, 20, 110, 130}},
        {"stretch both",
         resize::stretchWidth | resize::stretchHeight,
         {500, 360},
         {10, 20, 210, 130}},
        {"move right", resize::moveRight, {500, 360}, {110, 20, 210, 70}},
        {"move down", resize::moveDown, {500, 360}, {10, 80, 110, 130}},
        {"stretch width, move down",
         resize::stretchWidth | resize::moveDown,
         {500, 360},
         {10, 80, 210, 130}},
        {"move with the corner",
         resize::moveRight | resize::moveDown,
         {500, 360},
         {110, 80, 210, 130}},
        {"back to the first size", resize::moveRight | resize::stretchHeight, initial, first},
        {"smaller than at first",
         resize::moveRight | resize::moveDown,
         {390, 290},
         {0, 10, 100, 60}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(resizedRect({1, c.flags, first}, first, initial, c.client), c.expected);
    }
}

TEST(ResizeLayout, RepeatedResizingNeverDrifts) {
    const LayoutSize initial{400, 300};
    const ResizeEntry entry{2, resize::moveRight | resize::moveDown, {330, 260, 380, 280}};
    // Laid out again and again from where the last layout left it, as WM_SIZE does while the
    // user drags: the result depends on the size alone.
    LayoutRect current = entry.initialRect;
    for (int step = 0; step < 50; ++step) {
        const LayoutSize client{400 + (step * 37) % 211, 300 + (step * 53) % 97};
        current = resizedRect(entry, current, initial, client);
        EXPECT_EQ(current, (LayoutRect{330 + client.width - 400, 260 + client.height - 300,
                                       380 + client.width - 400, 280 + client.height - 300}));
    }
    EXPECT_EQ(resizedRect(entry, current, initial, initial), entry.initialRect);
}

TEST(ResizeLayout, AxisNotFollowedKeepsWhereTheControlIsNow) {
    // A control moved by someone else on the other axis stays there.
    const ResizeEntry entry{3, resize::stretchWidth, {10, 10, 50, 30}};
    EXPECT_EQ(resizedRect(entry, {10, 40, 50, 60}, {100, 100}, {150, 200}),
              (LayoutRect{10, 40, 100, 60}));
}

TEST(ResizeLayout, AtLeastRaisesEachAxis) {
    EXPECT_EQ(atLeast({100, 50}, {80, 60}), (LayoutSize{100, 60}));
    EXPECT_EQ(atLeast({10, 500}, {80, 60}), (LayoutSize{80, 500}));
}

} // namespace
