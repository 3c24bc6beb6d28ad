// A modal dialog from a resource template, bound to the object that handles its messages.
#pragma once

#include <windows.h>

class ModalDialog {
  public:
    ModalDialog() = default;
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    // Runs the dialog `templateId` of the executable modally over `owner`; the value the dialog
    // ended with, or -1 when it could not be shown.
    INT_PTR runModal(HWND owner, int templateId);

    // The dialog window while it exists.
    HWND window() const { return window_; }

  protected:
    ~ModalDialog() = default;

    // A dialog procedure's answer for the dialog's messages, WM_INITDIALOG included.
    virtual INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  private:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};
