// Remembering a runtime the user picked: written for this launcher and its paired product,
// only when a paired product is configured.
#include "TestFiles.h"
#include "launcher/Launcher.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedVariable {
  public:
    ScopedVariable(const wchar_t* name, const std::optional<std::wstring>& value) : name_(name) {
        const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
        if (length) {
            std::wstring old(length, L'\0');
            old.resize(GetEnvironmentVariableW(name, old.data(), length));
            old_ = old;
        }
        SetEnvironmentVariableW(name, value ? value->c_str() : nullptr);
    }
    ~ScopedVariable() { SetEnvironmentVariableW(name_, old_ ? old_->c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const wchar_t* name_;
    std::optional<std::wstring> old_;
};

// The remembered folder in a settings file; "(none)" when the file or the value is missing.
std::string rememberedIn(const std::wstring& file) {
    wchar_t value[1024];
    GetPrivateProfileStringW(L"Java Runtime Environment", L"JRE Path", L"(none)", value, 1024,
                             file.c_str());
    return narrow(value);
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(RememberRuntime, WrittenForBothLaunchersWithABackslash) {
    TempFolder appData;
    ScopedVariable variable(L"APPDATA", appData.path());
    Launcher launcher;
    launcher.productName = L"Viewer";
    launcher.productCode = L"{C0DE}";
    launcher.pairProduct = appData.file(L"apps\\viewer32.exe");

    launcher.rememberRuntime(L"D:\\Java\\jre7");
    EXPECT_EQ(rememberedIn(appData.file(L"Viewer\\{C0DE}\\windows_tests.ini")), "D:\\Java\\jre7\\");
    EXPECT_EQ(rememberedIn(appData.file(L"Viewer\\{C0DE}\\viewer32.ini")), "D:\\Java\\jre7\\");
    // The paired product's own settings file beside it is left alone.
    EXPECT_FALSE(exists(appData.file(L"apps\\viewer32.ini")));

    launcher.rememberRuntime(L"E:\\rt\\");
    EXPECT_EQ(rememberedIn(appData.file(L"Viewer\\{C0DE}\\windows_tests.ini")), "E:\\rt\\");
}

TEST(RememberRuntime, NothingWrittenWithoutAUsablePairedProduct) {
    TempFolder appData;
    ScopedVariable variable(L"APPDATA", appData.path());
    for (const wchar_t* pairProduct : {L"", L"C:\\Apps\\viewer32"}) {
        SCOPED_TRACE(narrow(pairProduct));
        Launcher launcher;
        launcher.productName = L"Viewer";
        launcher.productCode = L"{C0DE}";
        launcher.pairProduct = pairProduct;
        launcher.rememberRuntime(L"D:\\Java\\jre7");
        EXPECT_FALSE(exists(appData.file(L"Viewer")));
    }
}

TEST(RememberRuntime, ServiceWritesThePairedProductsSettingsFile) {
    TempFolder appData;
    ScopedVariable variable(L"APPDATA", appData.path());
    TempFolder apps;
    Launcher launcher;
    launcher.isService = true;
    launcher.productName = L"Viewer";
    launcher.productCode = L"{C0DE}";
    launcher.pairProduct = apps.file(L"viewer32.exe");

    launcher.rememberRuntime(L"D:\\Java\\jre7");
    EXPECT_EQ(rememberedIn(apps.file(L"viewer32.ini")), "D:\\Java\\jre7\\");
    EXPECT_FALSE(exists(appData.file(L"Viewer")));
}

} // namespace
