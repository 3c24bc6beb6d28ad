#include "RegisteredRuntime.h"

#include "TestFiles.h"
#include "launcher/Architecture.h"

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

std::string pairedImageHeaders() {
    std::string image(0x200, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    image[0x3C] = 0x40; // e_lfanew
    image.replace(0x40, 4, std::string("PE\0\0", 4));
    image[0x44] = static_cast<char>(architecture::kPairedMachine & 0xFF); // Machine, little-endian
    image[0x45] = static_cast<char>(architecture::kPairedMachine >> 8);
    return image;
}
