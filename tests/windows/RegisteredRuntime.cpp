#include "RegisteredRuntime.h"

#include "TestFiles.h"

const RuntimeFamily& familyOf(Family family) {
    return runtimeFamilies()[static_cast<size_t>(family)];
}

std::wstring makeRuntimeHome(const std::wstring& folder,
                             const std::vector<std::wstring>& jvmFolders, bool javaLibrary) {
    createFolders(folder + L"\\bin");
    if (javaLibrary)
        writeBytesFile(folder + L"\\bin\\java.dll", "");
    for (const std::wstring& jvm : jvmFolders) {
        createFolders(folder + L"\\bin\\" + jvm);
        writeBytesFile(folder + L"\\bin\\" + jvm + L"\\jvm.dll", "");
    }
    return folder + L"\\";
}
