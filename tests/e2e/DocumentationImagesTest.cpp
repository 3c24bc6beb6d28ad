// What the user documentation shows, as a user meets it: the splash screen of an application,
// the "JRE Not Found" dialog, the "Java Exception" dialog and a message box. Each test checks
// what the window shows and saves it as build\screenshots\docs-*.png, which
// scripts/docs-images.sh compresses into docs\images.
#include "DialogDriving.h"
#include "JavaApp.h"
#include "MessageBoxes.h"
#include "SplashWatch.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace testjvm;

namespace {

constexpr DWORD kFailureExitCode = 4294967295u;

// A dialog has painted itself a moment after it became visible.
constexpr DWORD kPaintMs = 300;

// ---- A splash picture as an application ships one ------------------------------------------

constexpr int kSplashWidth = 440;
constexpr int kSplashHeight = 220;

// The background of row y: a band from dark to lighter blue, top to bottom.
COLORREF splashBackground(int y) {
    const int share = y * 255 / (kSplashHeight - 1);
    return RGB(20 + share * 30 / 255, 50 + share * 70 / 255, 110 + share * 90 / 255);
}

struct DeleteDc {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using UniqueDc = std::unique_ptr<std::remove_pointer_t<HDC>, DeleteDc>;
using UniqueGdiObject = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, DeleteGdiObject>;

void drawText(HDC dc, const wchar_t* text, int height, int weight, RECT area) {
    const UniqueGdiObject font(CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE,
                                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                           CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                           DEFAULT_PITCH, L"Tahoma"));
    const HGDIOBJ previous = SelectObject(dc, font.get());
    DrawTextW(dc, text, -1, &area, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, previous);
}

// Draws the product's name on the band and writes the picture as a 24-bit BMP file.
bool writeProductSplash(const std::wstring& path) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kSplashWidth;
    info.bmiHeader.biHeight = kSplashHeight; // bottom-up, as BMP files store their rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const UniqueDc dc(CreateCompatibleDC(nullptr));
    void* bits = nullptr;
    const UniqueGdiObject bitmap(
        CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !bitmap || !bits)
        return false;
    const HGDIOBJ previous = SelectObject(dc.get(), bitmap.get());
    for (int y = 0; y < kSplashHeight; ++y) {
        const UniqueGdiObject brush(CreateSolidBrush(splashBackground(y)));
        const RECT row{0, y, kSplashWidth, y + 1};
        FillRect(dc.get(), &row, static_cast<HBRUSH>(brush.get()));
    }
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), RGB(255, 255, 255));
    drawText(dc.get(), L"Viewer", 56, FW_BOLD, {36, 52, kSplashWidth, 130});
    SetTextColor(dc.get(), RGB(200, 220, 245));
    drawText(dc.get(), L"Version 2.1  \x2022  Starting\x2026", 18, FW_NORMAL,
             {40, 128, kSplashWidth, 160});
    GdiFlush();
    SelectObject(dc.get(), previous);

    const DWORD rowBytes = (kSplashWidth * 3 + 3) & ~3u;
    const DWORD imageBytes = rowBytes * kSplashHeight;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageBytes;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    bytes.append(static_cast<const char*>(bits), imageBytes);
    writeBytesFile(path, bytes);
    return readBytesFile(path).size() == bytes.size();
}

// ---- The tests ---------------------------------------------------------------------------

TEST(DocumentationImages, SplashScreenShowsTheApplicationsPicture) {
    JavaApp app;
    const std::wstring picture = app.app.besideExe(L"splash.bmp");
    ASSERT_TRUE(writeProductSplash(picture));
    app.writeSettings({.mainClass = L"com.example.viewer.Main", .displayLines = L"Splash Screen=" + picture + L"\r\n"});
    Script script;
    script.classes.push_back(JavaClass(L"com/example/viewer/Main", {kMainMethod}, {}, L"app.jar"));
    script.mainActions = {Action::sleep(3000)};
    ASSERT_TRUE(app.writeScript(script));

    HWND shown = nullptr;
    ScreenPixels corner;
    bool saved = false;
    LaunchOptions options;
    options.whileRunning = [&](DWORD processId) {
        if (saved)
            return;
        const HWND window = splashWindowOf(processId);
        if (!window || !IsWindowVisible(window))
            return;
        Sleep(kPaintMs);
        shown = window;
        RECT rect{};
        GetWindowRect(window, &rect);
        const RECT topLeft{rect.left, rect.top, rect.left + 8, rect.top + 8};
        captureScreen(topLeft, corner);
        saved = saveWindowScreenshot(window, L"docs-splash");
    };
    const LaunchResult result = app.launch(options);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_TRUE(result.messageBoxes.empty());
    ASSERT_NE(shown, nullptr) << "no splash window appeared";
    EXPECT_TRUE(saved);
    // The window shows the picture from its first row on: no frame, no caption.
    ASSERT_EQ(corner.width, 8);
    EXPECT_EQ(corner.at(4, 4), splashBackground(4));
}

TEST(DocumentationImages, MissingRuntimeDialogAsksForTheVersionTheSettingsNeed) {
    JavaApp app(RuntimeLayout{.javaLibrary = false});
    app.writeSettings({.runtimeLines = L"Minimum Version=11\r\n"});
    std::wstring message;
    bool saved = false;
    LaunchOptions options;
    options.onDialog = [&](HWND dialog) {
        if (windowCaption(dialog) != L"JRE Not Found")
            return false;
        Sleep(kPaintMs);
        message = controlText(dialog, IDC_MISSING_JRE_MESSAGE);
        saved = saveWindowScreenshot(dialog, L"docs-missing-runtime");
        pressButton(dialog, IDCANCEL);
        return true;
    };
    const LaunchResult result = app.launch(options);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, kFailureExitCode);
    EXPECT_EQ(message, L"The Java Runtime Environment (JRE) was not found. Please  download and "
                       L"install a JRE (minimum version 11.0) from:");
    EXPECT_TRUE(saved);
}

TEST(DocumentationImages, ExceptionDialogShowsTheTraceOfWhatEscapedMain) {
    JavaApp app;
    app.writeSettings({.applicationLines = L"Failure Check=Yes\r\n"});
    ASSERT_TRUE(app.writeScript(JavaApp::script(
        {Action::throwException(L"java/lang/IllegalStateException: cannot read viewer.cfg"),
         Action::cause(L"java/io/FileNotFoundException: viewer.cfg (Access is denied)")})));
    std::wstring trace;
    bool saved = false;
    LaunchOptions options;
    options.onDialog = [&](HWND dialog) {
        if (windowCaption(dialog) != L"Java Exception")
            return false;
        Sleep(kPaintMs);
        trace = controlText(dialog, IDC_STACK_TRACE);
        saved = saveWindowScreenshot(dialog, L"docs-java-exception");
        pressButton(dialog, IDOK);
        return true;
    };
    const LaunchResult result = app.launch(options);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u); // Ignore
    EXPECT_EQ(trace.rfind(L"java.lang.IllegalStateException: cannot read viewer.cfg\r\n", 0), 0u)
        << narrow(trace);
    EXPECT_NE(trace.find(L"Caused by: java.io.FileNotFoundException: viewer.cfg (Access is "
                         L"denied)\r\n"),
              std::wstring::npos)
        << narrow(trace);
    EXPECT_TRUE(saved);
}

TEST(DocumentationImages, MessageBoxNamesTheMainClassItCouldNotFind) {
    JavaApp app;
    app.writeSettings({.mainClass = L"com.example.viewer.Main"});
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    bool saved = false;
    LaunchOptions options;
    options.onDialog = [&](HWND dialog) {
        Sleep(kPaintMs);
        saved = saveWindowScreenshot(dialog, L"docs-message-box");
        return false; // read and answered by the harness
    };
    const LaunchResult result = app.launch(options);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, kFailureExitCode);
    ASSERT_EQ(result.messageBoxes.size(), 1u);
    EXPECT_EQ(result.messageBoxes.front().text,
              L"Could not find the main class com/example/viewer/Main.\n");
    EXPECT_TRUE(saved);
}

} // namespace
