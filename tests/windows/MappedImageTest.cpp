// Telling a 32-bit x86 library apart from its file, without loading it.
#include "jvm/MappedImage.h"
#include "TestFiles.h"
#include "jvm/PeHeaders.h"
#include "launcher/Architecture.h"
#include "launcher/Launcher.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// DOS header pointing at NT headers at 0x80 with the given machine, in `size` bytes.
std::string imageBytes(std::uint16_t machine, size_t size = 0x200) {
    std::string bytes(0x200, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    bytes[0x3C] = '\x80';
    bytes.replace(0x80, 4, std::string("PE\0\0", 4));
    bytes[0x84] = static_cast<char>(machine & 0xFF);
    bytes[0x85] = static_cast<char>(machine >> 8);
    bytes.resize(size);
    return bytes;
}

std::wstring testProgramPath() {
    return testProgramFolder() + L"\\windows_tests.exe";
}

struct ImageCase {
    const char* name;
    std::string bytes;
    bool opens;
    bool isPe;
    bool isX86;
};

TEST(MappedImage, ReadsTheMachineOfWholeHeadersOnly) {
    const ImageCase cases[] = {
        {"x86 image", imageBytes(kMachineI386), true, true, true},
        {"x64 image", imageBytes(kMachineAmd64), true, true, false},
        {"empty file cannot be mapped", "", false, false, false},
        {"only MZ", "MZ", true, false, false},
        {"text", std::string(0x200, 'x'), true, false, false},
        {"x86 headers cut short", imageBytes(kMachineI386, 0x90), true, false, false},
    };
    TempFolder folder;
    for (const ImageCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = folder.file(L"jvm.dll");
        writeBytesFile(path, c.bytes);
        MappedImage image;
        EXPECT_EQ(image.open(path), c.opens);
        EXPECT_EQ(image.isPe(), c.isPe);
        EXPECT_EQ(image.isMachine(kMachineI386), c.isX86);
        image.close();
        EXPECT_FALSE(image.isPe());
        // Closed means closed: the file can be replaced at once.
        EXPECT_TRUE(DeleteFileW(path.c_str()));
    }
}

TEST(MappedImage, RealExecutableIsAnImageOfThisBuildsMachine) {
    MappedImage image;
    ASSERT_TRUE(image.open(testProgramPath()));
    EXPECT_TRUE(image.isPe());
    EXPECT_TRUE(image.isMachine(architecture::kOwnMachine));
    EXPECT_FALSE(image.isMachine(architecture::kPairedMachine));
    EXPECT_EQ(imageMachine(testProgramPath()), architecture::kOwnMachine);
}

TEST(MappedImage, MissingFileDoesNotOpen) {
    TempFolder folder;
    MappedImage image;
    EXPECT_FALSE(image.open(folder.file(L"missing.dll")));
    EXPECT_FALSE(image.isPe());
}

TEST(PairedRuntime, OnlyAnX86LibraryWithAPairedProductHandsOver) {
    TempFolder folder;
    // A library of the paired launcher's architecture: x86 beside the x64 launcher, x64 beside
    // the ARM64 one.
    writeBytesFile(folder.file(L"x86.dll"), imageBytes(architecture::kPairedMachine));
    struct Case {
        std::wstring library;
        std::wstring pairProduct;
        bool handsOver;
    };
    const Case cases[] = {
        {folder.file(L"x86.dll"), L"C:\\App\\app32.exe", true},
        {folder.file(L"x86.dll"), L"", false},
        {testProgramPath(), L"C:\\App\\app32.exe", false},
        {folder.file(L"missing.dll"), L"C:\\App\\app32.exe", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(narrow(c.library + L" " + c.pairProduct));
        Launcher launcher;
        launcher.jvmLibraryPath = c.library;
        launcher.pairProduct = c.pairProduct;
        launcher.runPairedProduct = !c.handsOver;
        launcher.checkPairedRuntime();
        EXPECT_EQ(launcher.runPairedProduct, c.handsOver);
    }
}

} // namespace
