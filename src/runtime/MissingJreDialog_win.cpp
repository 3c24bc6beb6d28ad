#include "runtime/MissingJreDialog.h"

#include "jvm/Messages.h"
#include "res/resource.h"
#include "runtime/MissingRuntimeMessage.h"
#include "runtime/RuntimeFamilies.h"
#include "runtime/RuntimeProbe.h"
#include "ui/CenterWindow.h"
#include "ui/Shell.h"
#include "ui/WindowDc.h"

std::wstring composeMissingRuntimeMessage(int jvmType, const JavaVersion& minimum,
                                          const JavaVersion& maximum) {
    return composeMissingRuntimeMessage(jvmType, minimum, maximum, loadString);
}

INT_PTR MissingJreDialog::showModal(HWND owner) {
    return runModal(owner, IDD_MISSING_JRE);
}

INT_PTR MissingJreDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        initDialog();
        return TRUE;
    case WM_DPICHANGED:
        resizer_.onDpiChanged(wParam, lParam);
        return TRUE;
    case WM_COMMAND:
        // By control id alone: Escape and the close box arrive as IDCANCEL too.
        switch (LOWORD(wParam)) {
        case IDOK:
            // Only with a runtime to use: a command that bypasses the disabled button (a
            // posted IDOK, Enter on a dialog whose default button is disabled) is no choice.
            if (!selectedJvmLibrary.empty())
                EndDialog(window(), IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(window(), IDCANCEL);
            return TRUE;
        case IDC_BROWSE:
            browse();
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

void MissingJreDialog::initDialog() {
    // The link keeps the look of the text it replaces unless it cannot take the control over,
    // and then the address is still there to read.
    // The address is the string table's, which the console form of this message ends with.
    SetDlgItemTextW(window(), IDC_DOWNLOAD_LINK, loadString(IDS_DOWNLOAD_ADDRESS).c_str());
    (void)downloadLink.subclass(GetDlgItem(window(), IDC_DOWNLOAD_LINK));
    SetDlgItemTextW(window(), IDC_MISSING_JRE_MESSAGE, messageText.c_str());
    fitMessage();
    SendDlgItemMessageW(window(), IDC_ERROR_ICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_ERROR)), 0);
    // Nothing to accept until a folder with a JVM library has been chosen.
    EnableWindow(GetDlgItem(window(), IDOK), FALSE);
    centerWindow(window());
    // With the message fitted: a move to another scale keeps what it added.
    resizer_.captureLayout(window(), "missing-runtime");
}

// The message is as long as the JVM type and the version bounds make it. Where it needs more
// lines than the template gives it, the dialog grows by what is missing, everything below the
// message moving down with the link that completes its sentence, instead of the sentence being
// cut off.
void MissingJreDialog::fitMessage() {
    const HWND message = GetDlgItem(window(), IDC_MISSING_JRE_MESSAGE);
    RECT box{};
    GetClientRect(message, &box);
    RECT needed = box;
    {
        const WindowDc dc(message);
        if (!dc.get())
            return;
        const HGDIOBJ oldFont = SelectObject(
            dc.get(), reinterpret_cast<HFONT>(SendMessageW(message, WM_GETFONT, 0, 0)));
        // As a left-aligned static control lays its text out.
        DrawTextW(dc.get(), messageText.c_str(), static_cast<int>(messageText.size()), &needed,
                  DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
        SelectObject(dc.get(), oldFont);
    }
    const int missing = needed.bottom - box.bottom;
    if (missing <= 0)
        return;

    RECT messageRect{};
    GetWindowRect(message, &messageRect);
    MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&messageRect), 2);
    for (HWND child = GetWindow(window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&rect), 2);
        if (rect.top >= messageRect.bottom)
            OffsetRect(&rect, 0, missing); // below the message
        else if (rect.top <= messageRect.top && rect.bottom >= messageRect.bottom)
            rect.bottom += missing; // around it: the message itself and its group box
        else
            continue;
        SetWindowPos(child, nullptr, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT dialogRect{};
    GetWindowRect(window(), &dialogRect);
    SetWindowPos(window(), nullptr, 0, 0, dialogRect.right - dialogRect.left,
                 dialogRect.bottom - dialogRect.top + missing,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MissingJreDialog::browse() {
    if (const auto folder = browseForFolder(window(), loadString(IDS_BROWSE_FOR_JRE)))
        chooseFolder(*folder);
}

void MissingJreDialog::chooseFolder(const std::wstring& path) {
    SetDlgItemTextW(window(), IDC_JRE_PATH, path.c_str());
    selectedFolder = path.empty() ? path : withTrailingBackslash(path);
    // Only the chosen folder itself counts, whatever version or kind of runtime it holds. An
    // empty folder would be probed relative to the current directory: a runtime the user never
    // chose.
    selectedJvmLibrary =
        selectedFolder.empty() ? std::wstring() : findJvmLibrary(selectedFolder, jvmType).path;
    EnableWindow(GetDlgItem(window(), IDOK), !selectedJvmLibrary.empty());
}
