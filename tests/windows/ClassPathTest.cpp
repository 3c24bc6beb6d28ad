// The class path against a real folder tree: what is searched, where, and what the VM gets.
#include "TestFiles.h"
#include "javaopts/ClassPathText.h"
#include "javaopts/EnvironmentSetup.h"
#include "javaopts/JavaOptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// An installed application: <temp>\App\run.exe (never run, only its folder counts) with jars
// in lib\ and beside it, a classes folder, and a sibling folder Applib\.
class ClassPath : public testing::Test {
  protected:
    ClassPath() {
        for (const wchar_t* file : {L"App\\lib\\a.jar", L"App\\lib\\b.jar", L"App\\lib\\notes.txt",
                                    L"App\\x.jar", L"App\\app.jar", L"Applib\\app.jar"}) {
            const std::wstring path = root_.file(file);
            createFolders(path.substr(0, path.rfind(L'\\')));
            writeBytesFile(path, "PK");
        }
        createFolders(root_.file(L"App\\classes"));
    }

    std::wstring app(const std::wstring& relative = L"") const {
        return root_.file(L"App") + relative;
    }
    std::wstring executable() const { return app(L"\\run.exe"); }

    TempFolder root_;
};

// The elements in order, without their ";" terminators.
std::vector<std::wstring> elements(const std::wstring& classPath) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (size_t end; (end = classPath.find(L';', start)) != std::wstring::npos; start = end + 1)
        parts.push_back(classPath.substr(start, end - start));
    EXPECT_EQ(start, classPath.size()) << "every element ends in ';'";
    return parts;
}

std::vector<std::wstring> sorted(std::vector<std::wstring> texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

TEST_F(ClassPath, EntriesAreSearchedBesideTheExecutableOrTakenAsWritten) {
    struct Case {
        std::wstring setting;
        std::vector<std::wstring> expected; // in the order a sorted search returns them
    };
    const Case cases[] = {
        {L"\\lib\\*.jar", {app(L"\\lib\\a.jar"), app(L"\\lib\\b.jar")}},
        {L"\\*.jar", {app(L"\\app.jar"), app(L"\\x.jar")}},
        // Glued to the folder without a backslash: the sibling folder Applib is searched.
        {L"lib\\app.jar", {root_.file(L"Applib\\app.jar")}},
        {L"\\lib\\missing.jar", {}},
        {L"\\classes", {app(L"\\classes")}},
        {L"\\nothing", {}},
        // An empty entry names the executable's folder itself.
        {L";\\x.jar", {app(), app(L"\\x.jar")}},
        {L"\\x.jar;;", {app(L"\\x.jar"), app()}},
        {app(L"\\lib\\*.jar"), {app(L"\\lib\\a.jar"), app(L"\\lib\\b.jar")}},
        {L"C:\\Java\\lib\\tools.jar", {L"C:\\Java\\lib\\tools.jar"}},
        {L"C:\\Java\\lib\\tool?.jar", {L"C:\\Java\\lib\\tool?.jar"}},
        {L"C:\\Java\\lib\\*.jar", {}},
        {L"\\\\server\\share\\x.jar", {L"\\\\server\\share\\x.jar"}},
        {L"\\lib\\*",
         {app(L"\\lib\\."), app(L"\\lib\\.."), app(L"\\lib\\a.jar"), app(L"\\lib\\b.jar"),
          app(L"\\lib\\notes.txt")}},
        {L"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(narrow(c.setting));
        const std::wstring classPath = buildClassPath(c.setting, executable(), false);
        const std::vector<std::wstring> found = elements(classPath);
        // The order is the file system's; only runs of one search may come in another order.
        EXPECT_EQ(sorted(found), sorted(c.expected));
        EXPECT_EQ(found.size(), c.expected.size());
    }
}

TEST_F(ClassPath, KeepsTheFileSystemsOrderOfOneSearch) {
    const std::vector<std::wstring> names = findFileNames(app(L"\\lib\\*.jar"));
    ASSERT_EQ(sorted(names), (std::vector<std::wstring>{L"a.jar", L"b.jar"}));
    EXPECT_EQ(buildClassPath(L"\\lib\\*.jar", executable(), false),
              app(L"\\lib\\") + names[0] + L";" + app(L"\\lib\\") + names[1] + L";");
}

TEST_F(ClassPath, EnvironmentReferenceExpandsToOneEntryTakenAsWritten) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"QOVA_TEST_LIBS", L"C:\\a.jar;C:\\b.jar"));
    const std::wstring classPath = buildClassPath(L"%QOVA_TEST_LIBS%;\\x.jar", executable(), false);
    SetEnvironmentVariableW(L"QOVA_TEST_LIBS", nullptr);
    EXPECT_EQ(classPath, L"C:\\a.jar;C:\\b.jar;" + app(L"\\x.jar;"));
}

TEST_F(ClassPath, EmbeddedJarPutsTheExecutableFirst) {
    EXPECT_EQ(buildClassPath(L"\\app.jar", executable(), true),
              executable() + L";" + app(L"\\app.jar;"));
    EXPECT_EQ(buildClassPath(L"", executable(), true), executable() + L";");
    EXPECT_EQ(buildClassPath(L"\\missing.jar", executable(), true), executable() + L";");
}

TEST(FileNames, FailedSearchFindsNothing) {
    TempFolder folder;
    EXPECT_TRUE(findFileNames(folder.file(L"*.jar")).empty());
    EXPECT_TRUE(findFileNames(folder.file(L"missing\\*")).empty());
    EXPECT_TRUE(findFileNames(L"").empty());
}

// The thread's locale picks the code page, so one text reaches the VM differently per locale.
class ThreadLocale {
  public:
    explicit ThreadLocale(LCID locale) : old_(GetThreadLocale()) { SetThreadLocale(locale); }
    ~ThreadLocale() { SetThreadLocale(old_); }
    ThreadLocale(const ThreadLocale&) = delete;
    ThreadLocale& operator=(const ThreadLocale&) = delete;

  private:
    LCID old_;
};

// The bytes as the VM reads them back in the thread's code page.
std::wstring fromThreadAnsi(const std::string& bytes) {
    const int length = MultiByteToWideChar(CP_THREAD_ACP, 0, bytes.data(),
                                           static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_THREAD_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                        length);
    return text;
}

TEST_F(ClassPath, ReachesTheVmInTheThreadsAnsiCodePageWithPathsThatOpen) {
    const std::wstring name = std::wstring(L"caf") + wchar_t(0xE9) + wchar_t(0x0436) + L".jar";
    writeBytesFile(app(L"\\lib\\") + name, "PK");
    const std::wstring option =
        classPathOption(buildClassPath(L"\\lib\\caf*.jar;\\app.jar", executable(), false));
    ASSERT_EQ(option, L"-Djava.class.path=" + app(L"\\lib\\") + name + L";" + app(L"\\app.jar;"));
    // Western European lacks the Cyrillic letter (it would become "?"); Cyrillic lacks the
    // e-acute (its best fit "e" would name another file). Either way the jar goes by its short
    // name, and the element the code page holds keeps its bytes; never UTF-8.
    for (const WORD language : {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                MAKELANGID(LANG_RUSSIAN, SUBLANG_RUSSIAN_RUSSIA)}) {
        SCOPED_TRACE(language);
        const ThreadLocale locale(MAKELCID(language, SORT_DEFAULT));
        const std::string text = vmOptionText(option);
        const std::string prefix = "-Djava.class.path=";
        ASSERT_EQ(text.substr(0, prefix.size()), prefix);
        const size_t separator = text.find(';');
        const std::wstring jar =
            fromThreadAnsi(text.substr(prefix.size(), separator - prefix.size()));
        EXPECT_NE(GetFileAttributesW(jar.c_str()), INVALID_FILE_ATTRIBUTES) << narrow(jar);
        EXPECT_EQ(jar.find(L'?'), std::wstring::npos) << narrow(jar);
        EXPECT_EQ(text.substr(separator + 1), vmOptionText(app(L"\\app.jar;")));
    }
}

} // namespace
