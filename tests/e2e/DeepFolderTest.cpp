// An application installed past the classic path length: the launcher, the runtime, the jars,
// the per-user settings file, the output file and the splash picture all in folders whose full
// paths are 300 to 400 characters long. Wine does not enforce the limit where Windows does; what
// this shows is that nothing in the launcher cuts or loses such a path on the way, and that the
// forms the launcher picks for functions with a limit of their own still name the same files.
#include "JavaApp.h"
#include "SplashWatch.h"

#include <gtest/gtest.h>

using namespace testjvm;

namespace {

// `count` folders of 38 characters each.
std::wstring deepFolders(int count, const std::wstring& tag) {
    std::wstring path;
    for (int i = 0; i < count; ++i)
        path += (i ? L"\\" : L"") + tag + L"-level-" + std::to_wstring(i) + L"-" +
                std::wstring(30 - tag.size(), L'd');
    return path;
}

std::wstring currentFolder() {
    std::wstring buffer(32768, L'\0');
    buffer.resize(GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data()));
    return buffer;
}

// The path with every short folder name written out, for comparing two names of one file.
std::wstring longPathOf(std::wstring path) {
    std::wstring buffer(32768, L'\0');
    buffer.resize(GetLongPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size())));
    if (!buffer.empty() && buffer.back() == L'\\')
        buffer.pop_back();
    return buffer;
}

TEST(DeepFolder, LaunchFindsEveryFileAndTheVmGetsTheWholePaths) {
    JavaApp app({}, deepFolders(7, L"app") + L"\\app.exe");
    const std::wstring runtimeHome = layOutRuntime(app.app.file(deepFolders(8, L"jre")));
    // The jars in a deep folder of their own, named in full: the launcher's own folder reaches
    // the launcher by the short name it was started with.
    const std::wstring jarFolder = app.app.file(deepFolders(7, L"jar") + L"\\lib");
    createFolders(jarFolder);
    writeBytesFile(jarFolder + L"\\app.jar", "PK");
    const std::wstring outputFile = app.app.file(deepFolders(7, L"log") + L"\\out.log");
    const std::wstring image = app.app.file(deepFolders(8, L"pic") + L"\\splash.bmp");
    createFolders(image.substr(0, image.rfind(L'\\')));
    writeQuadrantBitmap(image);
    // The runtime is found only through the per-user settings file: the one beside the exe is
    // the fallback that a lost per-user file would leave.
    const std::wstring appData = app.app.file(deepFolders(6, L"profile"));
    createFolders(appData + L"\\Viewer\\{0A1B}");
    const std::wstring userFile = appData + L"\\Viewer\\{0A1B}\\app.ini";
    writeUtf16File(userFile, L"[Java Runtime Environment]\r\nJRE Path=" + runtimeHome + L"\r\n");
    app.app.writeSettings(L"[Product Information]\r\nProduct Name=Viewer\r\nProduct Code={0A1B}\r\n"
                          L"[Java Runtime Environment]\r\nMain Class=" +
                          std::wstring(JavaApp::kMainClass) + L"\r\n[Class Path]\r\nClass Path=" +
                          jarFolder +
                          L"\\*.jar\r\n[Application]\r\n"
                          L"Output File=" +
                          outputFile +
                          L"\r\nOverride WorkingDir=yes\r\n"
                          L"[Display]\r\nSplash Screen=" +
                          image + L"\r\n");
    for (const std::wstring& path :
         {app.app.exePath(), runtimeHome, jarFolder, outputFile, image, userFile})
        ASSERT_GE(path.size(), 300u) << narrow(path);
    ASSERT_TRUE(writeScript(
        runtimeHome,
        JavaApp::script({Action::printOut(L"deep"), Action::thread(3000), Action::sleep(1500)})));

    // CreateProcessW does not start a program past the classic limit (Wine neither): a shortcut
    // or a program starts a deep launcher through its short folder names. Wine resolves such a
    // short path for a new process only now and then (ERROR_FILE_NOT_FOUND for the other
    // starts, from 32-bit and 64-bit callers alike) but always resolves a name relative to the
    // caller's current folder: the launcher is started from its folder, as a shortcut whose
    // "Start in" is the application's folder starts it.
    const std::wstring exeFolder = app.app.exePath().substr(0, app.app.exePath().rfind(L'\\'));
    std::wstring shortFolder(32768, L'\0');
    shortFolder.resize(GetShortPathNameW(exeFolder.c_str(), shortFolder.data(), 32768));
    ASSERT_FALSE(shortFolder.empty());
    ASSERT_LT(shortFolder.size() + 8, 260u);
    SplashWatch watch(0, L"deep-folder-splash");
    const std::wstring ownFolder = currentFolder();
    ASSERT_TRUE(SetCurrentDirectoryW(shortFolder.c_str()));
    const LaunchResult result =
        runProgram(L"app.exe", watch.options({.environment = {{L"APPDATA", appData}}}));
    SetCurrentDirectoryW(ownFolder.c_str());
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    for (const std::wstring& text : result.messageTexts())
        ADD_FAILURE() << narrow(text);
    EXPECT_TRUE(watch.seen);
    EXPECT_TRUE(watch.pictureShown) << watch.pictureMismatch;
    EXPECT_FALSE(readRecord(app.runtimeHome)) << "the per-user settings file was not read";

    const Record record = readRecord(runtimeHome).value_or(Record{});
    EXPECT_EQ(record.createResult, JNI_OK);
    EXPECT_EQ(record.callsOf(L"main").size(), 1u);
    EXPECT_TRUE(record.missingClassPathElements.empty());
    // The VM gets the jar's whole path, not a short name of it (the wildcard leaves its separator).
    const std::vector<std::wstring> options = record.optionTexts();
    ASSERT_FALSE(options.empty());
    EXPECT_EQ(options[0], L"-Djava.class.path=" + jarFolder + L"\\app.jar;");
    ASSERT_EQ(record.loadedModules.size(), 1u);
    EXPECT_EQ(longPathOf(record.loadedModules[0]), jvmLibraryOf(runtimeHome, L"server"));
    EXPECT_EQ(longPathOf(record.currentDirectory), exeFolder);
    EXPECT_EQ(readBytesFile(outputFile), "deep\r\n");
}

TEST(DeepFolder, LauncherManifestDeclaresLongPathAwareness) {
    const HMODULE launcher =
        LoadLibraryExW(builtLauncherPath().c_str(), nullptr,
                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(launcher);
    const HRSRC found = FindResourceW(launcher, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_TRUE(found);
    const std::string manifest(
        static_cast<const char*>(LockResource(LoadResource(launcher, found))),
        SizeofResource(launcher, found));
    FreeLibrary(launcher);
    EXPECT_NE(manifest.find("<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/"
                            "WindowsSettings\">true</longPathAware>"),
              std::string::npos)
        << manifest;
}

} // namespace
