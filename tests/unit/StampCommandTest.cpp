// The whole tool on files, natively: what it writes, and that a refusal leaves every file as
// it was, with no staging file left behind.
#include "PeTestImage.h"
#include "StampCommand.h"
#include "Utf8Text.h"
#include "settings/EmbeddedSettingsText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using namespace pe_test;
namespace fs = std::filesystem;

const std::string kManifest =
    "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\"><trustInfo>"
    "<security><requestedPrivileges><requestedExecutionLevel level=\"asInvoker\"/>"
    "</requestedPrivileges></security></trustInfo></assembly>";

std::vector<ResourceEntry> launcherResources() {
    return {{kTypeRcdata, embedded::launcherMarkResourceName, 0, data(std::string("\1\0", 2))},
            {kTypeManifest, 1, 0x409, data(kManifest)},
            {6, 1, 0x409, data("the string table")}};
}

struct Folder {
    fs::path path = fs::temp_directory_path() /
                    ("stamp-command-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    Folder() { fs::create_directories(path); }
    ~Folder() { fs::remove_all(path); }
    std::wstring file(const std::string& name) const { return unitsFromUtf8((path / name).string()); }
};

void write(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(utf8FromUnits(path), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> read(const std::wstring& path) {
    std::ifstream in(utf8FromUnits(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct ToolResult {
    int exitCode;
    std::string err;
};

ToolResult runTool(const std::vector<std::wstring>& arguments) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int code = runStampCommand(arguments);
    testing::internal::GetCapturedStdout();
    return {code, testing::internal::GetCapturedStderr()};
}

// Catches a damaged or hostile file that crashes the tool, is reported as something else, or
// is written to anyway.
TEST(StampCommand, RefusesDamagedLaunchersAndLeavesThemAsTheyWere) {
    const std::vector<std::uint8_t> good = image(launcherResources());
    const std::size_t tree = sectionFields(good, 1).rawOffset;
    std::vector<std::uint8_t> badTree = good;
    put32(badTree, tree + 20, 0x80FFFFF0);
    std::vector<std::uint8_t> signedImage = good;
    put32(signedImage, kDirectories + 32, static_cast<std::uint32_t>(good.size() - 8));
    put32(signedImage, kDirectories + 36, 8);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> launcher;
        std::string message;
    };
    const Case cases[] = {
        {"cut in the section table", {good.begin(), good.begin() + 0x1F0},
         "its headers or section table are cut short or damaged"},
        {"cut in the resources", {good.begin(), good.begin() + tree + 0x40},
         "its headers or section table are cut short or damaged"},
        {"a tree leaving its section", badTree, "its resource directory is damaged"},
        {"signed", signedImage, "carries a code signature"},
        {"imports after the resources", image(launcherResources(), {".idata"}),
         "the section \".idata\" lies after the resources and cannot be moved"},
    };
    for (const Case& c : cases) {
        Folder folder;
        const std::wstring launcher = folder.file("app.exe");
        write(launcher, c.launcher);
        const ToolResult refused = runTool({L"--product-name", L"Viewer", launcher});
        EXPECT_EQ(refused.exitCode, 1) << c.name;
        EXPECT_NE(refused.err.find(c.message), std::string::npos) << c.name << ": " << refused.err;
        EXPECT_EQ(read(launcher), c.launcher) << c.name;
        EXPECT_FALSE(fs::exists(folder.path / "app.exe.stamping")) << c.name;
    }
}

// Catches a stamping in place that loses the file's execute permission or grows the file each
// time it runs.
TEST(StampCommand, StampsInPlaceKeepingThePermissionsAndTheSize) {
    Folder folder;
    const std::wstring launcher = folder.file("app.exe");
    write(launcher, image(launcherResources()));
    fs::permissions(folder.path / "app.exe", fs::perms(0755));
    const std::vector<std::wstring> arguments = {L"--execution-level=requireAdministrator",
                                                 L"--company=Acme", L"--subsystem=console", launcher};
    ASSERT_EQ(runTool(arguments).exitCode, 0);
    const std::vector<std::uint8_t> once = read(launcher);
    EXPECT_EQ(fs::status(folder.path / "app.exe").permissions(), fs::perms(0755));
    EXPECT_EQ(once[kOptional + 68], 3);
    ASSERT_EQ(runTool(arguments).exitCode, 0);
    EXPECT_EQ(read(launcher), once);
    const ResourceTree tree = readResourceTree(once);
    ASSERT_EQ(tree.entries.size(), 4u);
    const std::string manifest(tree.entries[3].data.begin(), tree.entries[3].data.end());
    EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos) << manifest;
}

} // namespace
