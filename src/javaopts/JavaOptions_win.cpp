// The option builder: class path, VM parameters, output files and the "Cmd" arguments.
#include "javaopts/JavaOptions.h"

#include "javaopts/ClassPathText.h"
#include "javaopts/EnvironmentSetup.h"
#include "javaopts/ExecutableFolder.h"
#include "javaopts/JavaOptionList.h"
#include "javaopts/MemoryStatusReader.h"
#include "jvm/Messages.h"
#include "launcher/CommandLine.h"
#include "launcher/LaunchTrace.h"
#include "launcher/Launcher.h"
#include "launcher/ProcessInfo.h"
#include "res/resource.h"
#include "settings/CombinedSettingsSource.h"
#include "settings/LaunchSettingsRules.h"
#include "settings/SettingsKeys.h"

std::vector<std::wstring> findFileNames(const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const UniqueFind search(FindFirstFileW(pattern.c_str(), &found));
    if (!search)
        return names;
    // Nothing is filtered or sorted: the class path keeps the file system's order, which is
    // the order an application's jars have always been loaded in.
    do
        names.emplace_back(found.cFileName);
    while (FindNextFileW(search.get(), &found));
    return names;
}

std::wstring buildClassPath(const std::wstring& classPathSetting,
                            const std::wstring& executablePath, bool embeddedJar) {
    std::wstring classPath = assembleClassPath(classPathSetting, executableFolder(executablePath),
                                               lookUpEnvironmentVariable, findFileNames);
    if (embeddedJar)
        prependEmbeddedJar(classPath, executablePath);
    return classPath;
}

namespace {

// What the java command would do with an option it cannot hand to the VM, said in the terms
// of the settings; true when there is nothing to say.
bool reportOptionFault(HWND owner, const JavaCommandOptions& composed) {
    switch (composed.fault) {
    case OptionFault::None:
        return true;
    case OptionFault::MissingValue:
        traceOptionRefused(composed.faultyOption, "missing-value");
        showFormattedMessage(owner, IDS_OPTION_WITHOUT_VALUE, composed.faultyOption);
        return false;
    case OptionFault::LauncherAction:
        traceOptionRefused(composed.faultyOption, "java-command-action");
        if (composed.settingInstead)
            showFormattedMessage(owner, IDS_OPTION_IS_A_SETTING,
                                 composed.faultyOption, composed.settingInstead);
        else
            showFormattedMessage(owner, IDS_OPTION_STARTS_NOTHING,
                                 composed.faultyOption);
        return false;
    }
    return false;
}

} // namespace

bool Launcher::buildJavaOptions() {
    using namespace settings;
    std::wstring settingsPath;
    if (!settingsFilePath(settingsPath))
        return false;
    CombinedSettingsSource source(settingsPath, embeddedSettingsText());

    std::wstring executablePath;
    DWORD error = 0;
    if (!readModulePath(executablePath, error))
        showWindowsError(messageOwner, IDS_MODULE_PATH_FAILED, error);
    std::wstring classPath =
        buildClassPath(source.value(classPathSection, classPathKey), executablePath,
                       isYes(source.value(applicationSection, embeddedJarKey)));
    if (!mainJar.empty())
        classPath.insert(0, mainJar + L';');
    // A modular application may live on the module path alone.
    if (classPath.empty() && mainModule.empty()) {
        showMessageBox(messageOwner, IDS_NO_CLASS_PATH);
        return false;
    }

    std::uint64_t stackSize = mainThreadStackSize;
    JavaCommandOptions composed = composeJavaOptions(
        {classPath, source.value(javaRuntimeSection, modulePathKey), mainModule,
         source.value(javaRuntimeSection, vmParametersKey), executableFolder(executablePath)},
        readMemoryStatus(), lookUpEnvironmentVariable, stackSize);
    if (!reportOptionFault(messageOwner, composed))
        return false;
    for (const RewrittenOption& rewritten : composed.rewritten)
        traceOptionRewritten(rewritten.written, rewritten.passed);
    // The jar's own options, as the chosen runtime's java command takes them, behind the class
    // path that holds it and before the module and parameter options; they come from the jar,
    // not the settings, so nothing in them is expanded.
    const ManifestOptions fromJar = manifestOptionsFor(manifest, runtimeVersion);
    if (fromJar.nativeAccessRefused) {
        showFormattedMessage(messageOwner, IDS_JAR_NATIVE_ACCESS, manifestJar,
                             manifest.refusedNativeAccess);
        return false;
    }
    const auto jarOptions = manifest.vmOptions.begin();
    if (!manifestJar.empty())
        traceManifest(manifestJar, {jarOptions, fromJar.count});
    composed.options.insert(composed.options.begin() + (classPath.empty() ? 0 : 1), jarOptions,
                            jarOptions + static_cast<std::ptrdiff_t>(fromJar.count));
    // A stack size this process cannot even address is left to the VM to reject.
    mainThreadStackSize = stackSize <= SIZE_MAX ? static_cast<size_t>(stackSize) : 0;
    for (const std::wstring& option : composed.options)
        if (!appendVmOption(messageOwner, option, vmOptions))
            return false;

    outputFile = source.value(applicationSection, outputFileKey);
    expandFromProcessEnvironment(outputFile);
    errorFile = source.value(applicationSection, errorFileKey);
    expandFromProcessEnvironment(errorFile);

    cmdArguments = source.value(applicationSection, cmdKey);
    if (!cmdArguments.empty()) {
        expandFromProcessEnvironment(cmdArguments);
        std::vector<std::wstring> pieces;
        splitArguments(cmdArguments, pieces);
        // Unlike the command line's own, an empty piece of "Cmd" passes nothing on.
        for (std::wstring& piece : pieces)
            if (!piece.empty())
                appArguments.push_back(std::move(piece));
    }
    return true;
}
