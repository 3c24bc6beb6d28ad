// Paths the launcher derives from others, whatever those hold: the settings files from the
// executable's path, product name and code and APPDATA; the executable's folder and working
// directory; the runtime's folders, the library path and PATH from the JVM library's path;
// and the runtime's splash library.
#include "javaopts/ExecutableFolder.h"
#include "javaopts/PathList.h"
#include "settings/SettingsFiles.h"
#include "splash/SplashRules.h"

#include "FuzzCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool startsWith(const std::wstring& text, const std::wstring& start) {
    return text.compare(0, start.size(), start) == 0;
}

bool endsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void checkSettingsFiles(const std::wstring& exePath, const std::wstring& productName,
                        const std::wstring& productCode, const std::wstring& appData) {
    // The settings file replaces what follows the last dot of the whole path.
    const auto settings = settingsPathForModule(exePath);
    check(settings.has_value() == (exePath.find(L'.') != std::wstring::npos));
    if (settings) {
        const size_t dot = exePath.rfind(L'.');
        check(*settings == exePath.substr(0, dot + 1) + L"ini");
    }

    // Three levels below APPDATA, none of them able to climb out of the one above through the
    // product name; the file named after the executable alone.
    const UserSettingsLocation location =
        userSettingsLocation(exePath, productName, productCode, appData);
    const std::wstring folderName = folderNameForProduct(productName);
    check(folderName.find_first_of(L"\\?\"|><:/*") == std::wstring::npos);
    check(folderName.size() <= productName.size());
    check(location.productFolder == appData + L"\\" + folderName);
    check(location.codeFolder == location.productFolder + L"\\" + productCode);
    check(startsWith(location.filePath, location.codeFolder + L"\\"));
    const std::wstring fileName = location.filePath.substr(location.codeFolder.size() + 1);
    check(endsWith(fileName, L".ini") && fileName.find(L'\\') == std::wstring::npos);
}

void checkExecutableFolder(const std::wstring& exePath) {
    const std::wstring folder = executableFolder(exePath);
    const std::wstring withBackslash = executableFolderWithBackslash(exePath);
    check(withBackslash.empty() ? folder.empty() : withBackslash == folder + L"\\");
    check(startsWith(exePath, withBackslash));
    // The working directory is the folder, or a drive root with its backslash, or nothing.
    const std::wstring working = workingDirectoryFor(exePath);
    check(working.empty() || working == folder || working == withBackslash);
    if (!working.empty())
        check(!folder.empty() && (working == folder) != endsWith(folder, L":"));
}

void checkRuntimeFolders(const std::wstring& jvmPath, const std::wstring& extraPath) {
    const std::wstring home = runtimeHomeFolder(jvmPath);
    const std::wstring bin = runtimeBinFolder(jvmPath);
    check(startsWith(bin, home) && startsWith(jvmPath, bin));
    check(runtimeLibFolder(jvmPath) == home + L"\\lib");

    // The setting first (one separator after it), then the executable's folder, the current
    // folder, the PATH as it was and the runtime's lib folder.
    const std::wstring library = composeLibraryPath(extraPath, L"C:\\App\\", jvmPath);
    check(startsWith(library, extraPath));
    check(endsWith(library, L"C:\\App\\;.;%Path%;" + runtimeLibFolder(jvmPath)));
    const std::wstring system = composeSystemPath(extraPath, jvmPath);
    check(startsWith(system, extraPath) && endsWith(system, L"%Path%;" + bin));
    for (const std::wstring* list : {&library, &system}) {
        const size_t added = list->size() - extraPath.size();
        const std::wstring joint = list->substr(extraPath.size(), added);
        check(extraPath.empty() || extraPath.back() == L';' ? joint.front() != L';'
                                                            : joint.front() == L';');
    }
    check(libraryPathOption(library) == L"-Djava.library.path=" + library);

    // In the bin folder, with one separator between, the one the folder has when it has one.
    const std::wstring splash = splashLibraryPath(jvmPath);
    if (bin.empty()) {
        check(splash.empty());
    } else {
        const bool separated = bin.back() == L'\\' || bin.back() == L'/';
        check(splash == bin + (separated ? L"" : L"\\") + L"splashscreen.dll");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // One character per byte, cut at zero bytes into the paths and names.
    std::vector<std::wstring> texts(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            texts.emplace_back();
        else
            texts.back().push_back(static_cast<wchar_t>(data[i]));
    }
    // A handful of paths tell as much as thousands of short ones.
    texts.resize(std::clamp<size_t>(texts.size(), 4, 8));
    checkSettingsFiles(texts[0], texts[1], texts[2], texts[3]);
    for (const std::wstring& text : texts) {
        checkExecutableFolder(text);
        checkRuntimeFolders(text, texts[1]);
    }
    return 0;
}
