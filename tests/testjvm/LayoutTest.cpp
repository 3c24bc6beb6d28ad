// Runtime homes laid out as a runtime installs them, with the libraries a launcher probes for.
#include "RuntimeFixture.h"

#include <gtest/gtest.h>

using namespace testjvm;

namespace {

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool exports(const std::wstring& library, const char* name) {
    HMODULE module = LoadLibraryExW(library.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    const bool found = module && GetProcAddress(module, name);
    if (module)
        FreeLibrary(module);
    return found;
}

TEST(Layout, RuntimeHomeHasTheRequestedLibraries) {
    TempFolder folder;
    RuntimeLayout layout;
    layout.jvmFolders = {L"client", L"server"};
    layout.splash = SplashLibrary::Complete;
    const std::wstring home = layOutRuntime(folder.path(), layout);
    ASSERT_EQ(folder.path() + L"\\", home);
    EXPECT_TRUE(exists(home + L"bin\\java.dll"));
    EXPECT_TRUE(exists(home + L"bin\\client\\jvm.dll"));
    EXPECT_TRUE(exists(home + L"bin\\server\\jvm.dll"));
    EXPECT_FALSE(exists(home + L"bin\\classic\\jvm.dll"));
    EXPECT_TRUE(exists(home + L"bin\\splashscreen.dll"));
}

TEST(Layout, DevelopmentKitKeepsItsRuntimeInJre) {
    TempFolder folder;
    RuntimeLayout layout;
    layout.developmentKit = true;
    layout.javaLibrary = false;
    const std::wstring home = layOutRuntime(folder.path() + L"\\kit", layout);
    EXPECT_EQ(folder.path() + L"\\kit\\jre\\", home);
    EXPECT_TRUE(exists(jvmLibraryOf(home)));
    EXPECT_FALSE(exists(home + L"bin\\java.dll"));
}

struct LibraryCase {
    JvmLibrary library;
    bool create;
    bool defaults;
    bool created;
};

TEST(Layout, JvmLibraryVariantsExportWhatTheirNameSays) {
    const LibraryCase cases[] = {
        {JvmLibrary::Working, true, true, true},
        {JvmLibrary::NoJniExports, false, false, false},
        {JvmLibrary::CreateOnly, true, false, false},
        {JvmLibrary::MissingDependency, true, false, false},
    };
    for (const LibraryCase& c : cases) {
        TempFolder folder;
        RuntimeLayout layout;
        layout.jvmLibrary = c.library;
        const std::wstring jvm = jvmLibraryOf(layOutRuntime(folder.path(), layout));
        EXPECT_EQ(c.create, exports(jvm, "JNI_CreateJavaVM"));
        EXPECT_EQ(c.defaults, exports(jvm, "JNI_GetDefaultJavaVMInitArgs"));
        EXPECT_EQ(c.created, exports(jvm, "JNI_GetCreatedJavaVMs"));
    }
}

TEST(Layout, SplashLibraryRecordsItsCallsWithTheirBytes) {
    TempFolder folder;
    RuntimeLayout layout;
    layout.splash = SplashLibrary::Complete;
    const std::wstring home = layOutRuntime(folder.path(), layout);
    ASSERT_TRUE(writeScript(home, Script{}));
    HMODULE splash = LoadLibraryW((home + L"bin\\splashscreen.dll").c_str());
    ASSERT_TRUE(splash);
    const auto init =
        reinterpret_cast<void (*)()>(reinterpret_cast<void*>(GetProcAddress(splash, "SplashInit")));
    const auto load = reinterpret_cast<int (*)(const char*)>(
        reinterpret_cast<void*>(GetProcAddress(splash, "SplashLoadFile")));
    const auto setName = reinterpret_cast<void (*)(const char*, const char*)>(
        reinterpret_cast<void*>(GetProcAddress(splash, "SplashSetFileJarName")));
    const auto close = reinterpret_cast<void (*)()>(
        reinterpret_cast<void*>(GetProcAddress(splash, "SplashClose")));
    ASSERT_TRUE(init && load && setName && close);

    const std::string image = toAnsi(folder.path() + L"\\caf\u00e9.bmp");
    writeBytesFile(fromAnsi(image), "BM");
    init();
    EXPECT_EQ(1, load(image.c_str()));
    EXPECT_EQ(0, load("C:\\no\\such\\image.bmp"));
    setName(image.c_str(), "");
    close();
    FreeLibrary(splash);

    const Record record = readRecord(home).value_or(Record{});
    ASSERT_EQ(5u, record.splashCalls.size());
    EXPECT_EQ("SplashInit", record.splashCalls[0].function);
    EXPECT_EQ(image, record.splashCalls[1].fileName);
    EXPECT_EQ("SplashSetFileJarName", record.splashCalls[3].function);
    EXPECT_EQ(image, record.splashCalls[3].fileName);
    EXPECT_EQ("", record.splashCalls[3].jarName);
    EXPECT_EQ("SplashClose", record.splashCalls[4].function);
}

TEST(Layout, SplashLibraryVariantsDifferOnlyInSplashInit) {
    for (const SplashLibrary variant : {SplashLibrary::WithoutInit, SplashLibrary::InitFails}) {
        TempFolder folder;
        RuntimeLayout layout;
        layout.splash = variant;
        const std::wstring library =
            layOutRuntime(folder.path(), layout) + L"bin\\splashscreen.dll";
        EXPECT_EQ(exports(library, "SplashInit"), variant == SplashLibrary::InitFails);
        EXPECT_TRUE(exports(library, "SplashLoadFile"));
        EXPECT_TRUE(exports(library, "SplashSetFileJarName"));
        EXPECT_TRUE(exports(library, "SplashClose"));
    }
}

TEST(Layout, OtherArchitectureLibraryCannotBeLoadedByThisProcess) {
    TempFolder folder;
    const std::wstring path = folder.file(L"jvm.dll");
    ASSERT_TRUE(writeOtherArchitectureLibrary(path));
    const std::string bytes = readBytesFile(path);
    ASSERT_GE(bytes.size(), 0x100u);
    EXPECT_EQ("MZ", bytes.substr(0, 2));
    // x86 (0x14C) beside an x64 test, x64 (0x8664) beside a 32-bit or an ARM64 one.
#if defined(__aarch64__)
    const int otherMachine = 0x8664;
#else
    const int otherMachine = sizeof(void*) == 8 ? 0x14C : 0x8664;
#endif
    EXPECT_EQ(otherMachine, static_cast<unsigned char>(bytes[0x44]) |
                                (static_cast<unsigned char>(bytes[0x45]) << 8));
    SetLastError(0);
    EXPECT_FALSE(LoadLibraryW(path.c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_BAD_EXE_FORMAT), GetLastError());
}

} // namespace
