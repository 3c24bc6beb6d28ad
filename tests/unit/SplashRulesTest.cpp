// Which splash the settings ask for, where its window goes and where the runtime's library is.
#include "splash/SplashRules.h"

#include <gtest/gtest.h>

namespace {

TEST(SplashRules, OnlyTheExactTextTrueAsksForTheShadow) {
    EXPECT_TRUE(wantsSplashShadow(L"true"));
    for (const wchar_t* text : {L"", L"True", L"TRUE", L"yes", L"1", L"true ", L" true"})
        EXPECT_FALSE(wantsSplashShadow(text)) << testing::PrintToString(std::wstring(text));
}

TEST(SplashRules, CentresOnTheScreenTruncatingTowardZero) {
    struct Row {
        int screenWidth, screenHeight, width, height;
        int left, top;
    };
    const Row rows[] = {
        {1280, 1024, 96, 64, 592, 480},
        {1280, 1024, 97, 65, 591, 479}, // an odd remainder is dropped
        {1280, 1024, 0, 0, 640, 512},
        {1280, 1024, 1280, 1024, 0, 0},
        {1280, 1024, 1401, 1100, -60, -38}, // -121 / 2 and -76 / 2: toward zero, not down
        {800, 600, 3000, 601, -1100, 0},    // -1 / 2 is 0
    };
    for (const Row& row : rows) {
        const SplashOrigin origin =
            centredSplashOrigin(row.screenWidth, row.screenHeight, row.width, row.height);
        EXPECT_EQ(origin.left, row.left) << row.width;
        EXPECT_EQ(origin.top, row.top) << row.height;
    }
}

TEST(SplashRules, FindsTheLibraryInTheRuntimesBinFolder) {
    struct Row {
        std::wstring jvmLibraryPath;
        std::wstring expected;
    };
    const Row rows[] = {
        {L"C:\\Java\\jre\\bin\\server\\jvm.dll", L"C:\\Java\\jre\\bin\\splashscreen.dll"},
        {L"C:\\Java\\jre\\bin\\client\\jvm.dll", L"C:\\Java\\jre\\bin\\splashscreen.dll"},
        // A separator left at the end is not doubled; a forward slash counts as one.
        {L"C:\\Java\\bin\\\\server\\jvm.dll", L"C:\\Java\\bin\\splashscreen.dll"},
        {L"C:\\Java/\\server\\jvm.dll", L"C:\\Java/splashscreen.dll"},
        {L"C:\\jvm.dll", L"C:\\splashscreen.dll"},
        // Nothing left to look in.
        {L"", L""},
        {L"\\server\\jvm.dll", L""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(splashLibraryPath(row.jvmLibraryPath), row.expected)
            << testing::PrintToString(row.jvmLibraryPath);
}

} // namespace
