// An application installed under folders whose names the ANSI code page cannot hold (Wine's
// is 1252: no Cyrillic, Greek or CJK): the VM receives class path and library path elements that
// open, and main runs.
#include "JavaApp.h"

#include <gtest/gtest.h>

using namespace testjvm;

namespace {

const std::wstring kFolders = L"\u041A\u0438\u0440\u0438\u043B\u043B\u0438\u0446\u0430\\"
                              L"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC\\"
                              L"\u6F22\u5B57";

bool opens(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> elementsOf(const std::wstring& option, const std::wstring& prefix) {
    std::vector<std::wstring> elements;
    if (!option.starts_with(prefix))
        return elements;
    for (size_t start = prefix.size(); start < option.size();) {
        const size_t end = std::min(option.find(L';', start), option.size());
        elements.push_back(option.substr(start, end - start));
        start = end + 1;
    }
    return elements;
}

TEST(NonAnsiFolder, VmReceivesPathsThatOpenAndMainRuns) {
    JavaApp app({}, kFolders + L"\\app.exe");
    ASSERT_FALSE(app.runtimeHome.empty());
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    // A second jar whose own name the code page lacks, and a native folder for the library path.
    const std::wstring greekJar =
        app.app.besideExe(L"lib\\\u03B2\u03B9\u03B2\u03BB\u03AF\u03B1.jar");
    writeBytesFile(greekJar, "PK");
    const std::wstring nativeFolder = app.app.besideExe(L"\u0440\u043E\u0434\u043D\u043E\u0439");
    createFolders(nativeFolder);
    app.writeSettings({.runtimeLines = L"Library Path=" + nativeFolder + L"\r\n"});

    const LaunchResult result = app.launch();
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    for (const std::wstring& text : result.messageTexts())
        ADD_FAILURE() << narrow(text);
    const Record record = app.record();
    EXPECT_EQ(record.createResult, JNI_OK);
    // The main class is found only in \lib\app.jar, and only when that jar opens.
    EXPECT_EQ(record.callsOf(L"main").size(), 1u);
    for (const std::wstring& missing : record.missingClassPathElements)
        ADD_FAILURE() << "does not open: " << narrow(missing);

    const std::vector<std::wstring> options = record.optionTexts();
    ASSERT_GE(options.size(), 2u);
    const auto classPath = elementsOf(options[1], L"-Djava.class.path=");
    EXPECT_EQ(classPath.size(), 2u); // both jars, whatever order the folder lists them in
    for (const std::wstring& element : classPath)
        EXPECT_TRUE(opens(element)) << narrow(element);
    // The library path begins with "Library Path" and the exe's folder, both beyond the code
    // page; the PATH behind them passes as it always did.
    const auto libraryPath = elementsOf(options[0], L"-Djava.library.path=");
    ASSERT_GE(libraryPath.size(), 3u);
    EXPECT_TRUE(opens(libraryPath[0])) << narrow(libraryPath[0]);
    EXPECT_TRUE(opens(libraryPath[1])) << narrow(libraryPath[1]);
    EXPECT_EQ(libraryPath[2], L".");
}

} // namespace
