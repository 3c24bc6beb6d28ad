#include "TestRuntime.h"

#include "RuntimeFolder.h"

#include <windows.h>

#include <cstring>

namespace testjvm {

namespace {

void createFolderChain(const std::wstring& folder) {
    for (size_t i = 3; i <= folder.size(); ++i)
        if (i == folder.size() || folder[i] == L'\\')
            CreateDirectoryW(folder.substr(0, i).c_str(), nullptr);
}

bool copyLibrary(const std::wstring& builtFolder, const std::wstring& name,
                 const std::wstring& target) {
    createFolderChain(target.substr(0, target.rfind(L'\\')));
    return CopyFileW((builtFolder + L"\\" + name).c_str(), target.c_str(), FALSE);
}

std::wstring withBackslash(std::wstring folder) {
    if (folder.empty() || folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

} // namespace

std::wstring builtRuntimeFolder() {
    std::wstring configured(32768, L'\0');
    configured.resize(GetEnvironmentVariableW(L"QOVA_TESTJVM_DIR", configured.data(),
                                              static_cast<DWORD>(configured.size())));
    if (!configured.empty())
        return configured;
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.rfind(L'\\')) + L"\\testjvm";
}

std::wstring layOutRuntime(const std::wstring& folder, const RuntimeLayout& layout) {
    const std::wstring built =
        layout.builtFolder.empty() ? builtRuntimeFolder() : layout.builtFolder;
    const std::wstring home = withBackslash(folder) + (layout.developmentKit ? L"jre\\" : L"");
    createFolderChain(home.substr(0, home.size() - 1));
    if (layout.javaLibrary && !copyLibrary(built, L"java.dll", home + L"bin\\java.dll"))
        return {};
    const wchar_t* jvm = layout.jvmLibrary == JvmLibrary::NoJniExports ? L"nojni.dll"
                         : layout.jvmLibrary == JvmLibrary::CreateOnly ? L"createonly.dll"
                         : layout.jvmLibrary == JvmLibrary::MissingDependency ? L"missingdep.dll"
                                                                              : L"jvm.dll";
    for (const std::wstring& flavour : layout.jvmFolders)
        if (!copyLibrary(built, jvm, jvmLibraryOf(home, flavour)))
            return {};
    const wchar_t* splash =
        layout.splash == SplashLibrary::Complete      ? L"splashscreen.dll"
        : layout.splash == SplashLibrary::WithoutInit ? L"splashscreen_noinit.dll"
        : layout.splash == SplashLibrary::InitFails   ? L"splashscreen_initfails.dll"
                                                      : nullptr;
    if (splash && !copyLibrary(built, splash, home + L"bin\\splashscreen.dll"))
        return {};
    return home;
}

std::wstring jvmLibraryOf(const std::wstring& runtimeHome, const std::wstring& jvmFolder) {
    return withBackslash(runtimeHome) + L"bin\\" + jvmFolder + L"\\jvm.dll";
}

bool writeScript(const std::wstring& runtimeHome, const Script& script) {
    clearRecord(runtimeHome);
    const std::string text = formatScript(script);
    HANDLE file = CreateFileW((withBackslash(runtimeHome) + kScriptFileName).c_str(), GENERIC_WRITE,
                              0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size();
    CloseHandle(file);
    return ok;
}

void clearRecord(const std::wstring& runtimeHome) {
    DeleteFileW((withBackslash(runtimeHome) + kRecordFileName).c_str());
}

std::optional<Record> readRecord(const std::wstring& runtimeHome) {
    std::string text;
    if (!readWholeFile(withBackslash(runtimeHome) + kRecordFileName, text))
        return std::nullopt;
    return parseRecord(text, &fromAnsi);
}

std::string toAnsi(std::wstring_view text) {
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

namespace {

// Headers only: a DOS header, the PE signature, a file header for the machine marked as a DLL,
// the optional header of that architecture and one section that the file does not fill.
template <typename NtHeaders> std::string libraryHeaders(WORD machine, WORD optionalMagic) {
    std::string image(0x400, '\0');
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(image.data());
    dos->e_magic = IMAGE_DOS_SIGNATURE;
    dos->e_lfanew = 0x40;
    auto* nt = reinterpret_cast<NtHeaders*>(image.data() + 0x40);
    nt->Signature = IMAGE_NT_SIGNATURE;
    nt->FileHeader.Machine = machine;
    nt->FileHeader.NumberOfSections = 1;
    nt->FileHeader.SizeOfOptionalHeader = sizeof nt->OptionalHeader;
    nt->FileHeader.Characteristics =
        IMAGE_FILE_EXECUTABLE_IMAGE | IMAGE_FILE_DLL |
        (machine == IMAGE_FILE_MACHINE_I386 ? IMAGE_FILE_32BIT_MACHINE
                                            : IMAGE_FILE_LARGE_ADDRESS_AWARE);
    auto& optional = nt->OptionalHeader;
    optional.Magic = optionalMagic;
    optional.BaseOfCode = 0x1000;
    if constexpr (requires { optional.BaseOfData; })
        optional.BaseOfData = 0x1000;
    optional.ImageBase = 0x10000000;
    optional.SectionAlignment = 0x1000;
    optional.FileAlignment = 0x200;
    optional.MajorOperatingSystemVersion = 4;
    optional.MajorSubsystemVersion = 4;
    optional.SizeOfImage = 0x2000;
    optional.SizeOfHeaders = 0x200;
    optional.Subsystem = IMAGE_SUBSYSTEM_WINDOWS_GUI;
    optional.SizeOfStackReserve = 0x100000;
    optional.SizeOfStackCommit = 0x1000;
    optional.SizeOfHeapReserve = 0x100000;
    optional.SizeOfHeapCommit = 0x1000;
    optional.NumberOfRvaAndSizes = IMAGE_NUMBEROF_DIRECTORY_ENTRIES;
    auto* section =
        reinterpret_cast<IMAGE_SECTION_HEADER*>(image.data() + 0x40 + sizeof(NtHeaders));
    std::memcpy(section->Name, ".text", 5);
    section->Misc.VirtualSize = 0x1000;
    section->VirtualAddress = 0x1000;
    section->SizeOfRawData = 0x200;
    section->PointerToRawData = 0x200;
    section->Characteristics = IMAGE_SCN_CNT_CODE | IMAGE_SCN_MEM_EXECUTE | IMAGE_SCN_MEM_READ;
    return image;
}

} // namespace

bool writeOtherArchitectureLibrary(const std::wstring& path) {
#if defined(__aarch64__)
    constexpr bool pairedIsX86 = false;
#else
    constexpr bool pairedIsX86 = sizeof(void*) == 8;
#endif
    const std::string image =
        pairedIsX86 ? libraryHeaders<IMAGE_NT_HEADERS32>(IMAGE_FILE_MACHINE_I386,
                                                                IMAGE_NT_OPTIONAL_HDR32_MAGIC)
                           : libraryHeaders<IMAGE_NT_HEADERS64>(IMAGE_FILE_MACHINE_AMD64,
                                                                IMAGE_NT_OPTIONAL_HDR64_MAGIC);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, image.data(), static_cast<DWORD>(image.size()), &written, nullptr) &&
        written == image.size();
    CloseHandle(file);
    return ok;
}

} // namespace testjvm
