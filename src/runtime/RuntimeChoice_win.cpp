// The last step of the runtime search: the user is asked.
#include "launcher/Launcher.h"
#include "runtime/MissingJreDialog.h"
#include "runtime/MissingRuntimeMessage.h"

bool Launcher::chooseRuntimeInDialog() {
    MissingJreDialog dialog(composeMissingRuntimeMessage(jvmType, minVersion, maxVersion), jvmType);
    if (dialog.showModal(GetActiveWindow()) != IDOK)
        return false;
    jvmLibraryPath = dialog.selectedJvmLibrary;
    checkPairedRuntime();
    rememberRuntime(dialog.selectedFolder);
    return true;
}
