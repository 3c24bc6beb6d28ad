// The dialog shown when no Java runtime qualifies: what to download and from where, and a way to
// pick a runtime folder that the search did not find.
#pragma once

#include "runtime/JavaVersion.h"
#include "ui/DialogResizer.h"
#include "ui/HyperLinkControl.h"
#include "ui/ModalDialog.h"

#include <string>

class MissingJreDialog : public ModalDialog {
  public:
    MissingJreDialog(std::wstring message, int jvmType)
        : jvmType(jvmType), messageText(std::move(message)) {}

    // IDOK once the user accepted a folder with a JVM library, IDCANCEL when the dialog was
    // cancelled or closed, -1 when it could not be shown.
    INT_PTR showModal(HWND owner);

    // The step after Browse: shows the folder and accepts it when it holds a JVM library for
    // the JVM type. An empty path (a choice the shell could not name) is not probed.
    void chooseFolder(const std::wstring& path);

    const int jvmType;
    const std::wstring messageText;
    std::wstring selectedFolder;     // ends in "\"
    std::wstring selectedJvmLibrary; // empty while no usable folder is chosen
    HyperLinkControl downloadLink;

  private:
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void initDialog();
    void fitMessage();
    void browse();

    // Not resizable: lays the dialog out again at another display scale only.
    DialogResizer resizer_;
};
