// The JVM library: loading it with its two invocation entry points, asking it for the default
// thread stack size, and telling a library of another architecture apart before it is loaded.
#include "jvm/MappedImage.h"
#include "jvm/Messages.h"
#include "jvm/PeHeaders.h"
#include "launcher/Architecture.h"
#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"
#include "res/resource.h"

namespace {

template <typename Function> Function exportOf(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

} // namespace

bool Launcher::loadJvmLibrary(const std::wstring& path) {
    // A library this build refuses by its headers never reaches the loader; the message is the
    // one a 64-bit loader gives for a 32-bit library.
    if constexpr (architecture::kRules.refusesOtherMachines) {
        const std::optional<std::uint16_t> machine = imageMachine(path);
        if (libraryUse(machine, false, architecture::kRules) == LibraryUse::refuse) {
            traceArchitecture(path, machine, false);
            traceJvmLibrary(path, ERROR_BAD_EXE_FORMAT, nullptr);
            showFormattedMessage(messageOwner, IDS_JVM_LOAD_FAILED, path,
                                 static_cast<int32_t>(ERROR_BAD_EXE_FORMAT));
            return false;
        }
    }
    // The library stays loaded for the life of the process, on failure too: the VM it creates
    // lives until the process ends, and its threads run its code until then. So no owning
    // wrapper here.
    const HMODULE library = LoadLibraryW(path.c_str());
    if (!library) {
        const DWORD error = GetLastError();
        traceJvmLibrary(path, error, nullptr);
        showFormattedMessage(messageOwner, IDS_JVM_LOAD_FAILED, path,
                             static_cast<int32_t>(error));
        return false;
    }
    createJavaVm = exportOf<JNI_CreateJavaVM_t>(library, "JNI_CreateJavaVM");
    if (!createJavaVm) {
        const DWORD error = GetLastError();
        traceJvmLibrary(path, error, "JNI_CreateJavaVM");
        showWindowsError(messageOwner, IDS_NO_CREATE_JAVA_VM, error);
        return false;
    }
    getDefaultJavaVmInitArgs =
        exportOf<JNI_GetDefaultJavaVMInitArgs_t>(library, "JNI_GetDefaultJavaVMInitArgs");
    if (!getDefaultJavaVmInitArgs) {
        const DWORD error = GetLastError();
        traceJvmLibrary(path, error, "JNI_GetDefaultJavaVMInitArgs");
        showWindowsError(messageOwner, IDS_NO_CREATE_JAVA_VM, error);
        return false;
    }
    traceJvmLibrary(path, 0, nullptr);
    return true;
}

size_t Launcher::defaultThreadStackSize() const {
    if (!getDefaultJavaVmInitArgs)
        return 0;
    // The 1.1 form of the question is the one that answers with a stack size; VMs report the
    // version itself as unsupported, so the result code says nothing and is not looked at.
    JDK1_1InitArgs arguments{};
    arguments.version = JNI_VERSION_1_1;
    (void)getDefaultJavaVmInitArgs(&arguments);
    return arguments.javaStackSize > 0 ? static_cast<size_t>(arguments.javaStackSize) : 0;
}

void Launcher::checkPairedRuntime() {
    runPairedProduct = false;
    // The 32-bit launcher never hands over: it loads the library itself, and one of another
    // architecture fails to load with its own message.
    if (!architecture::kHandsOverToPairedProduct || pairProduct.empty())
        return;
    // A library of the paired launcher's architecture cannot be loaded into this process: its
    // headers are read from the file instead, and only the paired launcher will load it.
    const std::optional<std::uint16_t> machine = imageMachine(jvmLibraryPath);
    runPairedProduct = libraryUse(machine, true, architecture::kRules) == LibraryUse::handOver;
    traceArchitecture(jvmLibraryPath, machine, runPairedProduct);
}
