#include "jvm/JavaExceptionDialog.h"

#include "jvm/StackTraceText.h"
#include "res/resource.h"
#include "ui/CenterWindow.h"

namespace {

// The frame and the trace grow with the dialog, the texts widen, and the texts and buttons
// below the trace keep their distance from the bottom-right corner.
constexpr ResizeRule resizeMap[] = {
    {IDC_EXCEPTION_GROUP, resize::stretchWidth | resize::stretchHeight},
    {IDC_EXCEPTION_HEADING, resize::stretchWidth},
    {IDC_EXCEPTION_WARNING, resize::stretchWidth | resize::moveDown},
    {IDC_EXCEPTION_INSTRUCTION, resize::stretchWidth | resize::moveDown},
    {IDC_STACK_TRACE, resize::stretchWidth | resize::stretchHeight},
    {IDOK, resize::moveRight | resize::moveDown},
    {IDCANCEL, resize::moveRight | resize::moveDown},
};

} // namespace

INT_PTR JavaExceptionDialog::showModal(HWND owner) {
    return runModal(owner, IDD_JAVA_EXCEPTION);
}

INT_PTR JavaExceptionDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        initDialog();
        return TRUE;
    case WM_SIZE:
        resizer_.onSize(wParam, lParam);
        return TRUE;
    case WM_DPICHANGED:
        resizer_.onDpiChanged(wParam, lParam);
        return TRUE;
    case WM_GETMINMAXINFO:
        resizer_.onGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return TRUE;
    case WM_COMMAND:
        // Stop is IDCANCEL, which Escape and the close box send as well.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(window(), LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

void JavaExceptionDialog::initDialog() {
    // As the runtime wrote it, its own line ends included.
    SetDlgItemTextW(window(), IDC_STACK_TRACE, stackTrace_.c_str());
    SendDlgItemMessageW(window(), IDC_STACK_TRACE, EM_SETREADONLY, TRUE, 0);
    SendDlgItemMessageW(window(), IDC_ERROR_ICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_ERROR)), 0);
    centerWindow(window());
    resizer_.initResize(window(), resizeMap, "exception");
}

bool showExceptionDialog(jthrowable exception, JNIEnv* env) {
    const std::wstring text = stackTraceText(exception, env);
    if (text.empty())
        return false;
    JavaExceptionDialog dialog(text);
    // On the Java main thread this is normally no window at all; the dialog is then centred on
    // its monitor.
    return dialog.showModal(GetActiveWindow()) != IDOK;
}
