// Driving the launcher's dialogs from outside, as a user would: reading their controls,
// pressing their buttons, resizing them, and running them at another display scale.
#pragma once

#include <windows.h>

#include <string>

std::wstring controlText(HWND dialog, int controlId);
bool controlEnabled(HWND dialog, int controlId);
// The control's rectangle in the dialog's client coordinates.
RECT controlRect(HWND dialog, int controlId);
SIZE windowSize(HWND window);

// A click on a button, as the dialog receives it (posted: the dialog may end on it).
void pressButton(HWND dialog, int controlId);
// The Escape key through the dialog's modal loop, and the close box of its caption.
void pressEscape(HWND dialog);
void pressCloseBox(HWND dialog);

// Makes the shell's folder browser select `folder`, as a click in its tree does. The browser
// belongs to another process, so the path is written into that process first.
bool selectFolderInBrowser(HWND browser, const std::wstring& folder);

// WM_DPICHANGED as Windows sends it when the dialog moves to a monitor of `dpi`: the scale in
// both halves of wParam, lParam pointing to the suggested window rectangle (written into the
// dialog's process first). False when it could not be delivered.
bool sendDpiChanged(HWND dialog, int dpi, const RECT& suggested);

// The rectangle Windows suggests for a dialog moved to a monitor where the same dialog opened
// at `openedAt` with a client area of `openedClient`: that client area in the dialog's own
// frame (Wine keeps the frame at the process's scale).
RECT suggestedRectFor(HWND dialog, POINT openedAt, SIZE openedClient);

// The display scale (dots per inch) that programs started while it lives get; the old
// setting comes back afterwards.
class ScopedDisplayDpi {
  public:
    explicit ScopedDisplayDpi(DWORD dpi);
    ~ScopedDisplayDpi();
    ScopedDisplayDpi(const ScopedDisplayDpi&) = delete;
    ScopedDisplayDpi& operator=(const ScopedDisplayDpi&) = delete;

  private:
    struct Saved {
        HKEY root;
        const wchar_t* path;
        bool existed;
        DWORD value;
    };
    Saved saved_[2];
};
