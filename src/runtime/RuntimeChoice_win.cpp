// The last step of the runtime search: the user is asked.
#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"
#include "runtime/MissingJreDialog.h"
#include "runtime/MissingRuntimeMessage.h"

bool Launcher::chooseRuntimeInDialog() {
    MissingJreDialog dialog(composeMissingRuntimeMessage(jvmType, minVersion, maxVersion), jvmType);
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
