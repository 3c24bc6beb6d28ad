// Paths the VM and the runtime's splash library take as ANSI text, on a real volume: a path the
// thread's code page cannot hold goes by its short name, which opens the same file; a path it
// holds keeps the bytes it always had.
#include "TestFiles.h"
#include "javaopts/AnsiText.h"
#include "javaopts/EnvironmentSetup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {

// What the launcher has always passed: the plain conversion.
std::string plainAnsi(const std::wstring& text) {
    const int length = WideCharToMultiByte(
        CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                        length, nullptr, nullptr);
    return bytes;
}

// The bytes as a reader of the ANSI code page (the VM) takes them.
std::wstring fromAnsi(const std::string& bytes) {
    const int length = MultiByteToWideChar(CP_THREAD_ACP, 0, bytes.data(),
                                           static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_THREAD_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                        length);
    return text;
}

bool opens(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

const std::wstring cyrillic = L"\u041A\u0438\u0440\u0438\u043B\u043B\u0438\u0446\u0430";
const std::wstring greek = L"\u03B1\u03B2\u03B3"; // alpha and beta have best fits in 1252
const std::wstring cjk = L"\u6F22\u5B57";

TEST(AnsiPath, CodePageOfTheseTestsLacksTheScriptsUsed) {
    // Wine's default, and what the tests below are about; under a code page that holds these
    // scripts the paths would simply pass as they are.
    std::printf("[ INFO     ] ANSI code page %u, thread code page of locale %#lx\n", GetACP(),
                static_cast<unsigned long>(GetThreadLocale()));
    for (const std::wstring& name : {cyrillic, greek, cjk})
        EXPECT_FALSE(threadAnsiText(name).lossless) << narrow(name);
    EXPECT_TRUE(threadAnsiText(L"plain ASCII").lossless);
    EXPECT_EQ(threadAnsiText(L"").bytes, "");
}

TEST(AnsiPath, PathsOutsideTheCodePageGoByShortNamesThatOpen) {
    TempFolder folder;
    struct Row {
        std::wstring relative;
        bool exists;
        bool changes; // differs from the plain conversion
    };
    const std::vector<Row> rows{
        {cyrillic + L"\\app.jar", true, true},
        {greek + L"\\" + greek + L".png", true, true},
        {cjk + L"\\lib\\app.jar", true, true},
        {L"caf\u00E9\\app.jar", true, false}, // Western: the code page holds it
        {L"plain\\app.jar", true, false},
        // Nothing to take a short name from: converted as it always was.
        {cyrillic + L"\\missing.jar", false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.relative));
        const std::wstring path = folder.file(row.relative);
        if (row.exists) {
            createFolders(path.substr(0, path.rfind(L'\\')));
            writeBytesFile(path, "PK");
        }
        const std::string bytes = toAnsiPath(path);
        EXPECT_EQ(bytes != plainAnsi(path), row.changes);
        if (row.exists) {
            EXPECT_TRUE(threadAnsiText(fromAnsi(bytes)).lossless);
            EXPECT_TRUE(opens(fromAnsi(bytes)));
        }
    }
}

TEST(AnsiPath, ClassPathOptionChangesOnlyTheElementsTheCodePageLacks) {
    TempFolder folder;
    const std::wstring plainJar = folder.file(L"lib\\plain.jar");
    const std::wstring foreignJar = folder.file(cyrillic + L"\\" + greek + L".jar");
    const std::wstring missing = folder.file(cjk + L"\\gone.jar");
    createFolders(folder.file(L"lib"));
    createFolders(folder.file(cyrillic));
    writeBytesFile(plainJar, "PK");
    writeBytesFile(foreignJar, "PK");

    const std::string option =
        vmOptionText(L"-Djava.class.path=" + plainJar + L";" + foreignJar + L";" + missing + L";");
    const std::string prefix = "-Djava.class.path=";
    ASSERT_EQ(option.substr(0, prefix.size()), prefix);
    std::vector<std::string> elements;
    for (size_t start = prefix.size(); start < option.size();) {
        const size_t end = std::min(option.find(';', start), option.size());
        elements.push_back(option.substr(start, end - start));
        start = end + 1;
    }
    ASSERT_EQ(elements.size(), 3u);
    EXPECT_EQ(elements[0], plainAnsi(plainJar));
    EXPECT_TRUE(opens(fromAnsi(elements[1])));
    EXPECT_EQ(elements[2], plainAnsi(missing));
    EXPECT_EQ(option.back(), ';');

    // An option the code page holds is converted whole, as before.
    const std::wstring plainOption = L"-Djava.library.path=" + folder.path() + L";.";
    EXPECT_EQ(vmOptionText(plainOption), plainAnsi(plainOption));
}

} // namespace
