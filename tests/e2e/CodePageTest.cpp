// An application installed under folders whose names the ANSI code page cannot hold, with a
// launcher stamped to run in UTF-8: the VM is given the whole paths, in UTF-8. And one whose
// folder has no short name either: the launch stops with a message naming the path.
#include "JavaApp.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace testjvm;

namespace {

constexpr DWORD kFailureExitCode = 4294967295u;

const std::wstring kFolders = L"\u041A\u0438\u0440\u0438\u043B\u043B\u0438\u0446\u0430\\"
                              L"\u6F22\u5B57";

[[nodiscard]] bool stampCodePage(const AppFolder& app, const std::wstring& codePage) {
    const LaunchResult stamping = runProgram(
        testProgramFolder() + L"\\qova-stamp.exe",
        {.arguments = L"--code-page " + codePage + L" " + quotedArgument(app.exePath())});
    return stamping.exitCode == 0 && !stamping.timedOut;
}

std::wstring fromUtf8(const std::string& bytes) {
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                           static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                        length);
    return text;
}

TEST(CodePage, StampedUtf8LauncherGivesTheVmWholePaths) {
    JavaApp app({}, kFolders + L"\\app.exe");
    ASSERT_FALSE(app.runtimeHome.empty());
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    const std::wstring nativeFolder = app.app.besideExe(L"\u0440\u043E\u0434\u043D\u043E\u0439");
    createFolders(nativeFolder);
    app.writeSettings({.vmParameters = L"-Dtitle=\u03A4\u03AF\u03C4\u03BB\u03BF\u03C2",
                       .runtimeLines = L"Library Path=" + nativeFolder + L"\r\n"});
    ASSERT_TRUE(stampCodePage(app.app, L"utf-8"));

    const LaunchResult result = app.launch();
    ASSERT_FALSE(result.timedOut);
    for (const std::wstring& text : result.messageTexts())
        ADD_FAILURE() << narrow(text);
    const Record record = app.record();
    if (record.createCodePage != CP_UTF8)
        GTEST_SKIP() << "this Windows does not honour the manifest's activeCodePage element: the "
                        "process ran in code page "
                     << record.createCodePage;
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(record.callsOf(L"main").size(), 1u);
    ASSERT_GE(record.options.size(), 3u);
    // Every option whole, no short names: the library path starts with "Library Path" and the
    // exe's folder, the class path is the jar as the folder names it.
    EXPECT_TRUE(fromUtf8(record.options[0].bytes)
                    .starts_with(L"-Djava.library.path=" + nativeFolder + L";" +
                                 app.app.besideExe(L"")));
    EXPECT_EQ(fromUtf8(record.options[1].bytes),
              L"-Djava.class.path=" + app.app.besideExe(JavaApp::kJar) + L";");
    EXPECT_EQ(fromUtf8(record.options[2].bytes), L"-Dtitle=\u03A4\u03AF\u03C4\u03BB\u03BF\u03C2");
}

TEST(CodePage, FolderWithoutAShortNameStopsTheLaunchWithAMessage) {
    JavaApp app({}, kFolders + L"\\app.exe");
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    app.writeSettings();
    // Whether the folder has a short name is the volume's business (8.3 names may be off);
    // Wine makes one up for every name.
    const std::wstring folder = app.app.besideExe(L"");
    std::wstring shortForm(32768, L'\0');
    shortForm.resize(GetShortPathNameW(folder.c_str(), shortForm.data(),
                                       static_cast<DWORD>(shortForm.size())));
    if (std::all_of(shortForm.begin(), shortForm.end(), [](wchar_t c) { return c < 0x80; }))
        GTEST_SKIP() << "the volume gives " << narrow(folder) << " the short name "
                     << narrow(shortForm) << "; the refusal is tested on its own";

    const LaunchResult result = app.launch();
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, kFailureExitCode);
    const std::vector<std::wstring> texts = result.messageTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find(L" " + app.app.besideExe(JavaApp::kJar) + L": "), std::wstring::npos)
        << narrow(texts[0]);
    EXPECT_FALSE(app.record().createResult);
}

} // namespace
