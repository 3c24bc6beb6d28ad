// Probing runtime folders on disk: which JVM library a runtime home offers for each JVM type,
// and which folder beside the executable is the private runtime.
#include "launcher/Architecture.h"
#include "runtime/RuntimeProbe.h"
#include "RegisteredRuntime.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace {

TEST(RuntimeProbe, JvmLibraryByLayoutAndJvmType) {
    struct Row {
        std::vector<std::wstring> jvmFolders;
        int jvmType;
        const wchar_t* expected; // relative to the home; empty when nothing qualifies
        bool server;
    };
    const std::vector<Row> rows{
        {{L"client", L"server"}, 0, L"bin\\client\\jvm.dll", false},
        {{L"client", L"server"}, 1, L"bin\\server\\jvm.dll", true},
        {{L"client", L"server"}, 2, L"bin\\server\\jvm.dll", true},
        {{L"client"}, 1, L"", false},
        {{L"client"}, 2, L"bin\\client\\jvm.dll", false},
        {{L"server"}, 0, L"bin\\server\\jvm.dll", true},
        {{L"jrockit"}, 0, L"bin\\jrockit\\jvm.dll", false},
        {{L"jrockit"}, 2, L"bin\\jrockit\\jvm.dll", false},
        {{L"jrockit"}, 1, L"", false},
        {{L"hotspot", L"classic"}, 0, L"bin\\classic\\jvm.dll", false},
        {{L"hotspot", L"jrockit"}, 2, L"bin\\hotspot\\jvm.dll", false},
        {{}, 0, L"", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << (&row - rows.data()));
        TempFolder folder;
        const std::wstring home = makeRuntimeHome(folder.file(L"rt"), row.jvmFolders);
        const FoundJvmLibrary library = findJvmLibrary(home, row.jvmType);
        const std::wstring expected = *row.expected ? home + row.expected : L"";
        EXPECT_EQ(narrow(library.path), narrow(expected));
        EXPECT_EQ(library.isServer, row.server);
    }
}

TEST(RuntimeProbe, JavaHomeNeedsTheJavaLibrary) {
    TempFolder folder;
    EXPECT_TRUE(isJavaHome(makeRuntimeHome(folder.file(L"with"), {})));
    EXPECT_FALSE(isJavaHome(makeRuntimeHome(folder.file(L"without"), {L"client"}, false)));
    EXPECT_FALSE(isJavaHome(folder.path() + L"\\missing\\"));
}

TEST(RuntimeProbe, PrivateRuntimeIsTheExecutableFolderBeforeItsRuntimeFolder) {
    struct Row {
        bool folderIsHome;
        bool runtimeFolderIsHome;
        const wchar_t* expected; // relative to the executable folder, or "-" for none
    };
    const std::vector<Row> rows{
        {true, true, L""},
        {true, false, L""},
        {false, true, architecture::kPrivateRuntimeFolder},
        {false, false, L"-"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << (&row - rows.data()));
        TempFolder folder;
        const std::wstring executableFolder = folder.path() + L"\\";
        if (row.folderIsHome)
            makeRuntimeHome(folder.path(), {L"client"});
        // A runtime folder without bin\java.dll is no runtime home, whatever else it holds.
        const std::wstring runtimeFolder = executableFolder + architecture::kPrivateRuntimeFolder;
        makeRuntimeHome(runtimeFolder.substr(0, runtimeFolder.size() - 1), {L"server"},
                        row.runtimeFolderIsHome);
        const std::wstring expected =
            std::wstring(row.expected) == L"-" ? L"" : executableFolder + row.expected;
        EXPECT_EQ(narrow(privateRuntimeIn(executableFolder)), narrow(expected));
    }
}

TEST(RuntimeProbe, NoPrivateRuntimeBesideTheTestProgramIsStillSuccess) {
    std::wstring folder = L"stale";
    ASSERT_TRUE(findPrivateRuntime(nullptr, folder));
    EXPECT_EQ(narrow(folder), "");
}

} // namespace
