// Laying a dialog out again for another display scale, and the splash picture for a scale.
#include "splash/SplashRules.h"
#include "ui/DpiScaling.h"

#include <gtest/gtest.h>

namespace {

TEST(DpiScaling, ScaledByRoundsHalvesAwayFromZero) {
    EXPECT_EQ(scaledBy(3, 3, 2), 5);    // 4.5
    EXPECT_EQ(scaledBy(-3, 3, 2), -5);  // -4.5
    EXPECT_EQ(scaledBy(7, 1, 3), 2);    // 2.33
    EXPECT_EQ(scaledBy(-11, 72, 96), -8);
    // Past the range of a 32-bit product.
    EXPECT_EQ(scaledBy(1 << 20, 1 << 20, 1 << 20), 1 << 20);
}

// Base units the dialog font has at 96, 120, 144 and 192 DPI (and odd ones).
constexpr DialogBaseUnits kUnits[] = {{6, 13}, {7, 16}, {8, 16}, {9, 20}, {12, 26}, {13, 29}};

// What the dialog manager makes of a template rectangle: position and size mapped apart.
LayoutRect mapped(int x, int y, int cx, int cy, DialogBaseUnits units) {
    const int left = scaledBy(x, units.x, 4);
    const int top = scaledBy(y, units.y, 8);
    return {left, top, left + scaledBy(cx, units.x, 4), top + scaledBy(cy, units.y, 8)};
}

TEST(DpiScaling, ATemplateLayoutRescaledIsTheLayoutOpenedAtTheOtherScale) {
    for (const DialogBaseUnits from : kUnits)
        for (const DialogBaseUnits to : kUnits)
            for (int units = 0; units <= 300; ++units) {
                // Every dialog unit as a position and as a size, against a fixed partner.
                const LayoutRect first = mapped(units, units, 50, 14, from);
                EXPECT_EQ(rescaledDialogRect(first, from, to), mapped(units, units, 50, 14, to))
                    << units << " from " << from.x << " to " << to.x;
                const LayoutRect sized = mapped(7, 11, units, units, from);
                ASSERT_EQ(rescaledDialogRect(sized, from, to), mapped(7, 11, units, units, to))
                    << units << " from " << from.x << " to " << to.x;
                ASSERT_EQ(rescaledDialogSize({sized.width(), sized.height()}, from, to),
                          (LayoutSize{mapped(0, 0, units, units, to).width(),
                                      mapped(0, 0, units, units, to).height()}));
            }
}

TEST(DpiScaling, PixelsAddedOnTopComeBackUnchangedAtTheFirstScale) {
    // A rectangle grown by a measured number of pixels is no template rectangle; at its own
    // scale it is left exactly as it is, and elsewhere it is within a dialog unit.
    const LayoutRect grown{66, 39, 287, 101};
    EXPECT_EQ(rescaledDialogRect(grown, {6, 13}, {6, 13}), grown);
    const LayoutRect twice = rescaledDialogRect(grown, {6, 13}, {12, 26});
    EXPECT_NEAR(twice.left, 132, 3);
    EXPECT_NEAR(twice.bottom, 202, 3);
    // A layout not yet measured (no base units) is kept.
    EXPECT_EQ(rescaledDialogRect(grown, {0, 0}, {12, 26}), grown);
}

TEST(DpiScaling, FontHeightGoesThroughWholePoints) {
    struct Row {
        int height, fromDpi, toDpi, expected;
    };
    const Row rows[] = {
        {-11, 96, 192, -21}, // 8 points: not twice -11
        {-11, 96, 144, -16}, {-11, 96, 120, -13}, {-21, 192, 96, -11}, {-16, 144, 96, -11},
        {-13, 120, 192, -21}, {-11, 96, 96, -11}, {12, 96, 192, 24}, // a cell height
        {-11, 0, 192, -11},                                           // no scale known
    };
    for (const Row& row : rows)
        EXPECT_EQ(fontHeightAtDpi(row.height, row.fromDpi, row.toDpi), row.expected)
            << row.height << " " << row.fromDpi << " to " << row.toDpi;
}

TEST(SplashVariants, TheNearestScaleAtOrAboveTheMonitorsComesFirst) {
    struct Row {
        int dpi;
        int order[3];
    };
    const Row rows[] = {
        {72, {100, 150, 200}},  {96, {100, 150, 200}},  {97, {150, 200, 100}}, // any scale above 100%
        {120, {150, 200, 100}}, {144, {150, 200, 100}}, {168, {200, 150, 100}},
        {192, {200, 150, 100}}, {288, {200, 150, 100}},
    };
    for (const Row& row : rows)
        for (int rank = 0; rank < 3; ++rank)
            EXPECT_EQ(splashVariantPercent(row.dpi, rank), row.order[rank]) << row.dpi;
}

TEST(SplashVariants, TheSuffixGoesBeforeTheFileNamesExtension) {
    struct Row {
        const wchar_t* image;
        int percent;
        const wchar_t* path;
    };
    const Row rows[] = {
        {L"C:\\a\\splash.bmp", 100, L"C:\\a\\splash.bmp"},
        {L"C:\\a\\splash.bmp", 150, L"C:\\a\\splash@150pct.bmp"},
        {L"C:\\a\\splash.bmp", 200, L"C:\\a\\splash@2x.bmp"},
        {L"splash.gif", 200, L"splash@2x.gif"},
        {L"splash", 200, L"splash@2x"},
        {L"C:\\my.app\\splash", 150, L"C:\\my.app\\splash@150pct"}, // the dot of a folder
        {L"C:/my.app/splash", 200, L"C:/my.app/splash@2x"},
        {L"C:\\app\\splash.v2.jpg", 200, L"C:\\app\\splash.v2@2x.jpg"},
        {L"C:\\app\\.bmp", 200, L"C:\\app\\@2x.bmp"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(splashVariantPath(row.image, row.percent), row.path);
}

TEST(SplashVariants, ShownAtTheMonitorsScaleOfWhatThePictureWasDrawnFor) {
    struct Row {
        int pixels, percent, dpi, expected;
    };
    const Row rows[] = {
        {96, 100, 96, 96},   {96, 100, 144, 144}, {96, 100, 192, 192}, {97, 100, 144, 146},
        {192, 200, 192, 192}, {192, 200, 144, 144}, {144, 150, 144, 144}, {144, 150, 192, 192},
        {144, 150, 96, 96},  {192, 200, 96, 96},   {64, 100, 120, 80},
    };
    for (const Row& row : rows)
        EXPECT_EQ(splashShownSize(row.pixels, row.percent, row.dpi), row.expected)
            << row.pixels << " at " << row.percent << "% on " << row.dpi;
}

} // namespace
