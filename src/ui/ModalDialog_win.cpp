#include "ui/ModalDialog.h"

INT_PTR ModalDialog::runModal(HWND owner, int templateId) {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner,
                           &ModalDialog::dialogProc, reinterpret_cast<LPARAM>(this));
}

// The object arrives with WM_INITDIALOG and is kept in the dialog's own user slot, so no code
// is generated at run time to bind the window to it. Messages sent before WM_INITDIALOG
// (WM_SETFONT, WM_NCCREATE and the like) find no object and get the default handling.
INT_PTR CALLBACK ModalDialog::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<ModalDialog*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        self->window_ = dialog;
    }
    if (!self)
        return FALSE;
    const INT_PTR result = self->handleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
        self->window_ = nullptr;
    }
    return result;
}
