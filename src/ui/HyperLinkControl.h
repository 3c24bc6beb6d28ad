// A static text control of a dialog turned into a link: underlined in the link colour, the hand
// cursor and a tooltip over its text, the keyboard focus, and the address opened by the shell
// on a click or on Enter or Space.
#pragma once

#include "launcher/UniqueHandle.h"

#include <windows.h>

#include <string>

class HyperLinkControl {
  public:
    // Unvisited and visited link colours until the user's browser settings say otherwise.
    static constexpr COLORREF defaultLinkColor = RGB(0, 0, 255);
    static constexpr COLORREF defaultVisitedColor = RGB(128, 0, 128);

    HyperLinkControl() = default;
    HyperLinkControl(const HyperLinkControl&) = delete;
    HyperLinkControl& operator=(const HyperLinkControl&) = delete;

    // Takes the control over (its text becomes label and address unless they are set); false,
    // leaving the control as it was, when its window procedure cannot be replaced.
    [[nodiscard]] bool subclass(HWND control);
    void setAddress(const std::wstring& text);
    // Opens the address; true, and the link shown as visited, when the shell succeeds.
    bool navigate();

    const std::wstring& label() const { return label_; }
    const std::wstring& address() const { return address_; }
    COLORREF linkColor() const { return linkColor_; }
    COLORREF visitedColor() const { return visitedColor_; }
    bool visited() const { return visited_; }
    const RECT& linkRect() const { return linkRect_; }
    HWND toolTip() const { return toolTip_.get(); }

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT passOn(UINT message, WPARAM wParam, LPARAM lParam);

    void init();
    void createLinkFont();
    void calcLinkRect();
    void addTool();
    void readAnchorColors();
    void paint(HDC dc);
    bool isOverLink(POINT clientPoint) const;
    UINT textFormat() const;
    const std::wstring& shownText() const;

    HWND window_ = nullptr;
    WNDPROC previousProc_ = nullptr;
    std::wstring label_;
    std::wstring address_;
    HCURSOR linkCursor_ = nullptr;
    HFONT normalFont_ = nullptr;
    HFONT linkFont_ = nullptr;
    // Set when the control made the font itself and so deletes it.
    UniqueGdiObject ownedNormalFont_;
    UniqueGdiObject ownedLinkFont_;
    RECT linkRect_{};
    UniqueWindow toolTip_;
    COLORREF linkColor_ = defaultLinkColor;
    COLORREF visitedColor_ = defaultVisitedColor;
    bool paintLabel_ = true;
    bool visited_ = false;
};
