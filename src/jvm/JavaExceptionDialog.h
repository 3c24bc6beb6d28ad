// The dialog that shows an exception escaping the application's main method and asks whether to
// ignore it or stop the application.
#pragma once

#include "jvm/Jni.h"
#include "ui/DialogResizer.h"
#include "ui/ModalDialog.h"

#include <string>

class JavaExceptionDialog : public ModalDialog {
  public:
    explicit JavaExceptionDialog(std::wstring stackTrace) : stackTrace_(std::move(stackTrace)) {}

    // IDOK for Ignore; IDCANCEL for Stop, Escape and the close box; -1 when it cannot be shown.
    INT_PTR showModal(HWND owner);

    const std::wstring& stackTrace() const { return stackTrace_; }

  private:
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void initDialog();

    std::wstring stackTrace_;
    DialogResizer resizer_;
};

// Shows the dialog for the exception, which must no longer be pending. True means stop the
// application: every answer but Ignore, a dialog that could not be shown included. False, with
// nothing shown, when the trace cannot be had.
[[nodiscard]] bool showExceptionDialog(jthrowable exception, JNIEnv* env);
