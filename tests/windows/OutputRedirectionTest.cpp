// Folders made on the way to a file, and Java standard streams redirected through a test
// runtime VM loaded into this process.
#include "javaopts/OutputRedirection.h"
#include "jvm/StackTraceText.h"
#include "TestFiles.h"
#include "launcher/Launcher.h"

#include <gtest/gtest.h>

namespace {

bool isFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(EnsureFolders, CreatesTheMissingFoldersOfAFile) {
    TempFolder root;
    const struct {
        std::wstring file;
        std::wstring deepestFolder;
    } cases[] = {
        {root.file(L"Logs\\app\\out.log"), root.file(L"Logs\\app")},
        // The long-path form walks the same folders.
        {L"\\\\?\\" + root.file(L"Long\\deeper\\err.log"), root.file(L"Long\\deeper")},
        // Folders already there count as made.
        {root.file(L"Logs\\app\\again\\out.log"), root.file(L"Logs\\app\\again")},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(narrow(test.file));
        EXPECT_EQ(ensureFolders(test.file), 0u);
        EXPECT_TRUE(isFolder(test.deepestFolder));
        EXPECT_FALSE(exists(test.file)) << "only folders are made, never the file";
    }
}

TEST(EnsureFolders, ExistingFileIsFoundWithoutWalking) {
    TempFolder root;
    const std::wstring file = root.file(L"out.log");
    writeBytesFile(file, "kept");
    EXPECT_EQ(ensureFolders(file), 0u);
    EXPECT_EQ(readBytesFile(file), "kept");
}

TEST(EnsureFolders, FailedFolderStopsTheWalkAndRemovesTheEmptyParentItMade) {
    TempFolder root;
    // A file where a folder should be: it counts as there, but nothing can be made in it.
    writeBytesFile(root.file(L"blocked"), "kept");
    EXPECT_NE(ensureFolders(root.file(L"blocked\\x\\out.log")), 0u);
    EXPECT_EQ(readBytesFile(root.file(L"blocked")), "kept");

    const std::uint32_t error = ensureFolders(root.file(L"fresh\\blocked?\\deeper\\out.log"));
    EXPECT_NE(error, 0u);
    EXPECT_FALSE(exists(root.file(L"fresh"))) << "the walk removes the empty folder it made";
    EXPECT_FALSE(exists(root.file(L"fresh\\blocked?\\deeper")));
}

// A copy of the test runtime's jvm.dll in a fresh runtime home, loaded into this process and
// with a VM created on this thread. Each copy is a VM of its own; it stays loaded, since its
// threads may outlive the test.
class TestVm {
  public:
    TestVm() {
        const std::wstring folder = home_.file(L"bin\\server");
        createFolders(folder);
        const std::wstring library = folder + L"\\jvm.dll";
        if (!CopyFileW((testProgramFolder() + L"\\testjvm\\jvm.dll").c_str(), library.c_str(),
                       FALSE))
            return;
        const HMODULE module = LoadLibraryW(library.c_str());
        if (!module)
            return;
        const auto create = reinterpret_cast<JNI_CreateJavaVM_t>(
            reinterpret_cast<void*>(GetProcAddress(module, "JNI_CreateJavaVM")));
        JavaVMInitArgs args{JNI_VERSION_1_2, 0, nullptr, JNI_FALSE};
        if (create &&
            create(&launcher.javaVm, reinterpret_cast<void**>(&launcher.jniEnv), &args) != JNI_OK)
            launcher.jniEnv = nullptr;
    }

    // Raises and describes an exception: its trace goes wherever System.err now points.
    void describeMissingClass() {
        EXPECT_EQ(launcher.jniEnv->FindClass("no/Such"), nullptr);
        launcher.jniEnv->ExceptionDescribe();
    }

    TempFolder home_;
    Launcher launcher;
};

TEST(Redirection, ErrorFileUnderMissingFoldersReceivesWhatSystemErrPrints) {
    TestVm vm;
    ASSERT_NE(vm.launcher.jniEnv, nullptr);
    TempFolder logs;
    const std::wstring file = logs.file(L"Logs\\app\\err.log");

    EXPECT_TRUE(vm.launcher.redirectStandardError(file));
    EXPECT_EQ(vm.launcher.jniEnv->ExceptionOccurred(), nullptr);
    EXPECT_EQ(readBytesFile(file), "");
    vm.describeMissingClass();
    EXPECT_NE(readBytesFile(file).find("java.lang.NoClassDefFoundError: no/Such"),
              std::string::npos);
}

TEST(Redirection, OutputFileIsEmptiedWhenOpened) {
    TestVm vm;
    ASSERT_NE(vm.launcher.jniEnv, nullptr);
    TempFolder logs;
    const std::wstring file = logs.file(L"out.log");
    writeBytesFile(file, "text of an earlier run");

    EXPECT_TRUE(vm.launcher.redirectStandardOutput(file));
    EXPECT_EQ(readBytesFile(file), "");
}

TEST(Redirection, UnwritableOutputFileIsDescribedAndLeavesNothingPending) {
    TestVm vm;
    ASSERT_NE(vm.launcher.jniEnv, nullptr);
    TempFolder logs;
    const std::wstring errorFile = logs.file(L"err.log");
    ASSERT_TRUE(vm.launcher.redirectStandardError(errorFile));

    // A folder cannot be opened as a file.
    createFolders(logs.file(L"folder"));
    EXPECT_FALSE(vm.launcher.redirectStandardOutput(logs.file(L"folder")));
    EXPECT_EQ(vm.launcher.jniEnv->ExceptionOccurred(), nullptr);
    EXPECT_NE(readBytesFile(errorFile).find("java.io.FileNotFoundException"), std::string::npos);

    // A failed error redirection leaves System.err where it was.
    EXPECT_FALSE(vm.launcher.redirectStandardError(logs.file(L"folder")));
    EXPECT_EQ(vm.launcher.jniEnv->ExceptionOccurred(), nullptr);
    const size_t described = readBytesFile(errorFile).size();
    vm.describeMissingClass();
    EXPECT_GT(readBytesFile(errorFile).size(), described);
}

TEST(Redirection, PrintStreamWrapsAnOutputStream) {
    TestVm vm;
    ASSERT_NE(vm.launcher.jniEnv, nullptr);
    JNIEnv* env = vm.launcher.jniEnv;
    const jclass bytesClass = env->FindClass("java/io/ByteArrayOutputStream");
    ASSERT_NE(bytesClass, nullptr);
    const jobject bytes = env->NewObject(bytesClass, env->GetMethodID(bytesClass, "<init>", "()V"));
    ASSERT_NE(bytes, nullptr);

    const jobject stream = newPrintStream(env, bytes);
    ASSERT_NE(stream, nullptr);
    EXPECT_TRUE(env->IsInstanceOf(stream, env->FindClass("java/io/PrintStream")));

    EXPECT_EQ(newPrintStream(env, nullptr), nullptr) << "the constructor throws";
    EXPECT_NE(env->ExceptionOccurred(), nullptr);
    env->ExceptionClear();
}

} // namespace
