// The last step of the runtime search: the user is asked.
#include "jvm/Messages.h"
#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"
#include "res/resource.h"
#include "runtime/MissingJreDialog.h"
#include "runtime/MissingRuntimeMessage.h"

bool Launcher::chooseRuntimeInDialog() {
    std::wstring message = composeMissingRuntimeMessage(jvmType, minVersion, maxVersion);
    if (isConsole || messageSink != MessageSink::window) {
        // Nobody may be there to browse: the message ends with the address the dialog links
        // to, on standard error (or in a service's event log), and the launch ends as a
        // cancelled dialog ends it.
        showMessageBox(nullptr, message + L" " + loadString(IDS_DOWNLOAD_ADDRESS));
        traceDialog("missing-runtime", IDCANCEL, {});
        return false;
    }
    MissingJreDialog dialog(std::move(message), jvmType);
    const INT_PTR result = dialog.showModal(GetActiveWindow());
    traceDialog("missing-runtime", result, dialog.selectedFolder);
    if (result != IDOK)
        return false;
    jvmLibraryPath = dialog.selectedJvmLibrary;
    checkPairedRuntime();
    traceChosenRuntime("dialog", *this);
    rememberRuntime(dialog.selectedFolder);
    return true;
}
