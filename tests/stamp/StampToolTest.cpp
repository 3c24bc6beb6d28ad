// The stamping tool on copies of the built launcher, read back through the Windows resource
// and version functions as Explorer and the loader read them.
#include "StampTool.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <imagehlp.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <optional>

namespace {

std::wstring launcherPath() {
    return testProgramFolder() + L"\\launcher.exe";
}

// A stamped file opened the way Explorer reads an icon from it: as an image resource, not run.
class DataModule {
  public:
    explicit DataModule(const std::wstring& path)
        : module_(LoadLibraryExW(path.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~DataModule() {
        if (module_)
            FreeLibrary(module_);
    }
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;

    HMODULE get() const { return module_; }

    std::optional<std::string> resource(LPCWSTR type, LPCWSTR name) const {
        HRSRC found = FindResourceW(module_, name, type);
        HGLOBAL loaded = found ? LoadResource(module_, found) : nullptr;
        const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
        if (!data)
            return std::nullopt;
        return std::string(data, SizeofResource(module_, found));
    }

    std::vector<WORD> iconIds() const {
        std::vector<WORD> ids;
        EnumResourceNamesW(
            module_, RT_ICON,
            [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR context) WINAPI -> BOOL {
                if (IS_INTRESOURCE(name))
                    reinterpret_cast<std::vector<WORD>*>(context)->push_back(
                        static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
                return TRUE;
            },
            reinterpret_cast<LONG_PTR>(&ids));
        return ids;
    }

    // Every resource as "type/name/language" and its bytes; numbers in decimal, names as is.
    std::map<std::wstring, std::string> all() const {
        std::map<std::wstring, std::string> found;
        std::vector<std::wstring> types;
        EnumResourceTypesW(
            module_,
            [](HMODULE, LPWSTR type, LONG_PTR context) WINAPI -> BOOL {
                reinterpret_cast<std::vector<std::wstring>*>(context)->push_back(nameOf(type));
                return TRUE;
            },
            reinterpret_cast<LONG_PTR>(&types));
        for (const std::wstring& type : types) {
            std::vector<std::wstring> names;
            EnumResourceNamesW(
                module_, resourceName(type),
                [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR context) WINAPI -> BOOL {
                    reinterpret_cast<std::vector<std::wstring>*>(context)->push_back(nameOf(name));
                    return TRUE;
                },
                reinterpret_cast<LONG_PTR>(&names));
            for (const std::wstring& name : names) {
                std::vector<WORD> languages;
                EnumResourceLanguagesW(
                    module_, resourceName(type), resourceName(name),
                    [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR context) WINAPI -> BOOL {
                        reinterpret_cast<std::vector<WORD>*>(context)->push_back(language);
                        return TRUE;
                    },
                    reinterpret_cast<LONG_PTR>(&languages));
                for (const WORD language : languages) {
                    HRSRC resource =
                        FindResourceExW(module_, resourceName(type), resourceName(name), language);
                    const char* data =
                        static_cast<const char*>(LockResource(LoadResource(module_, resource)));
                    found[type + L"/" + name + L"/" + std::to_wstring(language)] =
                        std::string(data, SizeofResource(module_, resource));
                }
            }
        }
        return found;
    }

  private:
    static std::wstring nameOf(LPCWSTR name) {
        return IS_INTRESOURCE(name) ? std::to_wstring(reinterpret_cast<ULONG_PTR>(name))
                                    : std::wstring(name);
    }
    static LPCWSTR resourceName(const std::wstring& name) {
        return iswdigit(name[0]) ? MAKEINTRESOURCEW(std::stoi(name)) : name.c_str();
    }

    HMODULE module_;
};

struct FileVersion {
    std::vector<BYTE> block;

    explicit FileVersion(const std::wstring& path) {
        DWORD ignored = 0;
        block.resize(GetFileVersionInfoSizeW(path.c_str(), &ignored));
        if (!block.empty() &&
            !GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()))
            block.clear();
    }
    std::optional<std::wstring> string(const std::wstring& name) {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring query = L"\\StringFileInfo\\040904B0\\" + name;
        if (block.empty() || !VerQueryValueW(block.data(), query.c_str(), &value, &length))
            return std::nullopt;
        return std::wstring(static_cast<const wchar_t*>(value));
    }
    std::optional<VS_FIXEDFILEINFO> fixed() {
        void* value = nullptr;
        UINT length = 0;
        if (block.empty() || !VerQueryValueW(block.data(), L"\\", &value, &length) ||
            length < sizeof(VS_FIXEDFILEINFO))
            return std::nullopt;
        return *static_cast<const VS_FIXEDFILEINFO*>(value);
    }
};

// The checksum field compared with what imagehlp computes from the contents.
bool checksumMatches(const std::wstring& path) {
    DWORD stored = 0;
    DWORD computed = 0;
    return MapFileAndCheckSumW(path.c_str(), &stored, &computed) == CHECKSUM_SUCCESS &&
           stored == computed && stored != 0;
}

bool fileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A copy of the launcher, an icon and a settings file in a fresh folder.
struct StampFiles {
    TempFolder folder;
    std::wstring launcher = folder.file(L"app.exe");
    std::wstring icon = folder.file(L"app.ico");
    std::wstring settings = folder.file(L"app-embedded.ini");
    std::string iconBytes = iconFileBytes({16, 32}, {pngImage48()});

    StampFiles() {
        CopyFileW(launcherPath().c_str(), launcher.c_str(), FALSE);
        writeBytesFile(icon, iconBytes);
        // LF line ends and a comment, as a settings file written on any system may have.
        writeBytesFile(settings,
                       "; Viewer\n[Java Runtime Environment]\nMain Class=com.example.App\n"
                       "[Application]\nCmd=caf\xC3\xA9\n");
    }

    std::vector<std::wstring> allOptions(const std::wstring& target) const {
        return {L"--icon",
                icon,
                L"--settings",
                settings,
                L"--execution-level",
                L"requireAdministrator",
                L"--product-name",
                L"Viewer Pro",
                L"--file-version",
                L"2.1.0.15",
                L"--product-version",
                L"2.1",
                L"--company",
                L"Acme \u00C9ditions",
                L"--description",
                L"Viewer",
                L"--copyright",
                L"(c) 2024 Acme",
                L"--original-filename",
                L"viewer.exe",
                target};
    }
};

TEST(StampTool, StampedCopyCarriesIconVersionManifestAndSettings) {
    StampFiles files;
    const std::string original = readBytesFile(files.launcher);
    const std::wstring out = files.folder.file(L"viewer.exe");
    std::vector<std::wstring> arguments = files.allOptions(files.launcher);
    arguments.insert(arguments.begin(), {L"--out", out});
    const ToolRun run = runStampTool(arguments);
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(run.out, "Stamped " + narrow(out) +
                           ": icon (3 images), settings (2 sections), execution level "
                           "requireAdministrator, version information.\r\n");
    EXPECT_EQ(readBytesFile(files.launcher), original); // --out leaves the launcher alone
    EXPECT_TRUE(checksumMatches(out));

    DataModule stamped(out);
    ASSERT_TRUE(stamped.get());
    // The icon keeps the launcher's group id, so Explorer and the launcher's windows show it.
    const auto group = stamped.resource(RT_GROUP_ICON, MAKEINTRESOURCEW(101));
    ASSERT_TRUE(group);
    const std::vector<std::pair<int, size_t>> sizes = {{16, 0}, {32, 1}, {48, 2}};
    for (const auto& [size, index] : sizes) {
        const int id =
            LookupIconIdFromDirectoryEx(reinterpret_cast<PBYTE>(const_cast<char*>(group->data())),
                                        TRUE, size, size, LR_DEFAULTCOLOR);
        const auto image = stamped.resource(RT_ICON, MAKEINTRESOURCEW(id));
        ASSERT_TRUE(image) << size;
        EXPECT_EQ(*image, iconImageBytes(files.iconBytes, index)) << size;
    }
    HICON icon =
        static_cast<HICON>(LoadImageW(stamped.get(), MAKEINTRESOURCEW(101), IMAGE_ICON, 32, 32, 0));
    EXPECT_TRUE(icon);
    if (icon)
        DestroyIcon(icon);

    FileVersion version(out);
    EXPECT_EQ(version.string(L"ProductName"), L"Viewer Pro");
    EXPECT_EQ(version.string(L"FileVersion"), L"2.1.0.15");
    EXPECT_EQ(version.string(L"ProductVersion"), L"2.1");
    EXPECT_EQ(version.string(L"CompanyName"), L"Acme \u00C9ditions");
    EXPECT_EQ(version.string(L"FileDescription"), L"Viewer");
    EXPECT_EQ(version.string(L"LegalCopyright"), L"(c) 2024 Acme");
    EXPECT_EQ(version.string(L"OriginalFilename"), L"viewer.exe");
    const auto fixed = version.fixed();
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x0000000Fu);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00020001u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    // Only the level changes in the manifest; every other byte stays.
    std::string manifest = *DataModule(files.launcher).resource(RT_MANIFEST, MAKEINTRESOURCEW(1));
    const std::string level = "level=\"asInvoker\"";
    ASSERT_NE(manifest.find(level), std::string::npos);
    manifest.replace(manifest.find(level), level.size(), "level=\"requireAdministrator\"");
    EXPECT_EQ(stamped.resource(RT_MANIFEST, MAKEINTRESOURCEW(1)), manifest);

    const std::wstring text = L"; Viewer\r\n[Java Runtime Environment]\r\nMain Class=com.example."
                              L"App\r\n[Application]\r\nCmd=caf\x00E9\r\n";
    std::string expected = "\xFF\xFE";
    expected.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    EXPECT_EQ(stamped.resource(RT_RCDATA, L"QOVA_SETTINGS"), expected);
    EXPECT_EQ(stamped.resource(RT_RCDATA, L"QOVA_LAUNCHER"), std::string("\1\0", 2));

    // Everything that was not stamped (the string table, the mark) is still there, unchanged.
    std::map<std::wstring, std::string> kept = DataModule(files.launcher).all();
    std::erase_if(kept, [](const auto& entry) {
        return entry.first.starts_with(L"3/") || entry.first.starts_with(L"14/") ||
               entry.first.starts_with(L"24/");
    });
    ASSERT_FALSE(kept.empty());
    const std::map<std::wstring, std::string> now = stamped.all();
    for (const auto& [key, bytes] : kept) {
        const auto found = now.find(key);
        ASSERT_NE(found, now.end()) << narrow(key);
        EXPECT_TRUE(found->second == bytes) << narrow(key);
    }
}

TEST(StampTool, StampingTwiceGivesTheSameBytesAsOnce) {
    StampFiles files;
    const std::wstring once = files.folder.file(L"once.exe");
    std::vector<std::wstring> arguments = files.allOptions(files.launcher);
    arguments.insert(arguments.begin(), {L"--out", once});
    ASSERT_EQ(runStampTool(arguments).exitCode, 0u);

    // In place, twice: the second run replaces every resource the first one wrote.
    ASSERT_EQ(runStampTool(files.allOptions(files.launcher)).exitCode, 0u);
    ASSERT_EQ(runStampTool(files.allOptions(files.launcher)).exitCode, 0u);
    EXPECT_TRUE(readBytesFile(files.launcher) == readBytesFile(once));
    EXPECT_FALSE(fileExists(files.launcher + L".stamping"));
}

TEST(StampTool, SmallerIconRemovesTheImagesOnlyTheOldIconUsed) {
    StampFiles files;
    EXPECT_EQ(DataModule(files.launcher).iconIds(), (std::vector<WORD>{1, 2}));
    writeBytesFile(files.icon, iconFileBytes({24}));
    ASSERT_EQ(runStampTool({L"--icon", files.icon, files.launcher}).exitCode, 0u);
    DataModule stamped(files.launcher);
    EXPECT_EQ(stamped.iconIds(), (std::vector<WORD>{1}));
    EXPECT_EQ(stamped.resource(RT_ICON, MAKEINTRESOURCEW(1)),
              iconImageBytes(iconFileBytes({24}), 0));
    EXPECT_TRUE(checksumMatches(files.launcher));
}

TEST(StampTool, VersionFieldsNotGivenAreKept) {
    StampFiles files;
    ASSERT_EQ(runStampTool({L"--product-name", L"Viewer", L"--file-version", L"3.2", L"--copyright",
                            L"(c) Acme", files.launcher})
                  .exitCode,
              0u);
    ASSERT_EQ(runStampTool({L"--company", L"Acme", L"--copyright=", files.launcher}).exitCode, 0u);
    FileVersion version(files.launcher);
    EXPECT_EQ(version.string(L"ProductName"), L"Viewer");
    EXPECT_EQ(version.string(L"CompanyName"), L"Acme");
    EXPECT_EQ(version.string(L"FileVersion"), L"3.2");
    EXPECT_EQ(version.string(L"LegalCopyright"), std::nullopt); // emptied
    ASSERT_TRUE(version.fixed());
    EXPECT_EQ(version.fixed()->dwFileVersionMS, 0x00030002u);
}

TEST(StampTool, ShowPrintsWhatTheLauncherCarries) {
    StampFiles files;
    const ToolRun before = runStampTool({L"--show", files.launcher});
    EXPECT_EQ(before.exitCode, 0u) << before.err;
    // The copy is of the launcher built beside the tool, in either build.
    const std::string architecture = sizeof(void*) == 8 ? "x64 (64-bit)" : "x86 (32-bit)";
    EXPECT_NE(before.out.find("Launcher: " + architecture + ", resource format 1"),
              std::string::npos)
        << before.out;
    EXPECT_NE(before.out.find("Version: none"), std::string::npos);
    EXPECT_NE(before.out.find("Subsystem: windows\r\n"), std::string::npos);
    EXPECT_NE(before.out.find("Settings: none"), std::string::npos);

    std::vector<std::wstring> arguments = files.allOptions(files.launcher);
    arguments.insert(arguments.begin(), L"--show");
    const ToolRun after = runStampTool(arguments);
    ASSERT_EQ(after.exitCode, 0u) << after.err;
    for (const char* line :
         {"Checksum: 0x", ", matches the contents", "Icon: group 101, 3 images",
          "48x48, 32 bits, 125 bytes (RT_ICON 3)", "Version: file 2.1.0.15, product 2.1.0.0",
          "CompanyName: Acme \xC3\x89"
          "ditions",
          "Execution level: requireAdministrator", "    Main Class=com.example.App\r\n",
          "    Cmd=caf\xC3\xA9\r\n"})
        EXPECT_NE(after.out.find(line), std::string::npos) << line << "\n" << after.out;
}

// Faults caught: the field set in the bytes before the resource writer rewrote the headers
// (lost again), a checksum left stale after the change, a later stamping without the option
// turning a console launcher back into a windowed one, and anything else of the file moved.
TEST(StampTool, SubsystemIsSwitchedBothWaysAndKeptByLaterStamping) {
    StampFiles files;
    const struct {
        std::vector<std::wstring> arguments;
        const char* subsystem;
    } steps[] = {
        {{L"--subsystem", L"console", L"--icon", files.icon}, "console"},
        {{L"--execution-level=asInvoker"}, "console"},
        {{L"--subsystem=windows"}, "windows"},
    };
    for (const auto& step : steps) {
        std::vector<std::wstring> arguments = step.arguments;
        arguments.insert(arguments.begin(), L"--show");
        arguments.push_back(files.launcher);
        const ToolRun run = runStampTool(arguments);
        ASSERT_EQ(run.exitCode, 0u) << run.err;
        EXPECT_NE(run.out.find(std::string("Subsystem: ") + step.subsystem + "\r\n"),
                  std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find(", matches the contents"), std::string::npos) << run.out;
    }
    // Through the same resource writer, the two kinds differ in the field and the checksum.
    StampFiles windowed, console;
    ASSERT_EQ(runStampTool({L"--subsystem", L"windows", windowed.launcher}).exitCode, 0u);
    ASSERT_EQ(runStampTool({L"--subsystem", L"console", console.launcher}).exitCode, 0u);
    const std::string windowedBytes = readBytesFile(windowed.launcher);
    const std::string consoleBytes = readBytesFile(console.launcher);
    ASSERT_EQ(windowedBytes.size(), consoleBytes.size());
    size_t differences = 0;
    for (size_t i = 0; i < windowedBytes.size(); ++i)
        differences += windowedBytes[i] != consoleBytes[i];
    EXPECT_GE(differences, 1u);
    EXPECT_LE(differences, 5u);
}

TEST(StampTool, RefusesAndLeavesEveryFileAsItWas) {
    struct Case {
        const char* name;
        std::string launcher; // bytes to stamp; empty: the built launcher
        std::string icon;     // empty: a good icon
        std::string settings; // empty: a good settings file
        DWORD exitCode;
        std::string message; // "%L" stands for the launcher's path, "%F" for the bad file's
    };
    const std::string foreignPe = readBytesFile(testProgramFolder() + L"\\qova-stamp.exe");
    const Case cases[] = {
        {"a text file as launcher", "MZ? not really", "", "", 1,
         "qova-stamp: %L is not a Qova launcher: it is not a Windows executable.\r\n"},
        {"another program", foreignPe, "", "", 1,
         "qova-stamp: %L is not a Qova launcher: it lacks the launcher's mark (the RCDATA "
         "resource \"QOVA_LAUNCHER\").\r\n"},
        {"a PNG as icon", "", pngImage48(), "", 1,
         "qova-stamp: %F is not an icon file: it does not start with an icon header.\r\n"},
        {"an icon cut short", "", iconFileBytes({32}).substr(0, 300), "", 1,
         "qova-stamp: %F is not an icon file: image 1 lies outside the file.\r\n"},
        {"a settings line that is no setting", "", "",
         "[Java Runtime Environment]\r\nMain Class com.example.App\r\n", 1,
         "qova-stamp: %F does not parse as a settings file: line 2: the line is neither blank, "
         "a comment, a [section] nor key=value.\r\n"},
        {"binary settings", "", "", std::string("[A]\r\n\x7F\x45LF\x02\x01\x01\0\0", 14), 1,
         "qova-stamp: %F does not parse as a settings file: line 2: it holds a control character "
         "(binary data?).\r\n"},
    };
    for (const Case& c : cases) {
        StampFiles files;
        if (!c.launcher.empty())
            writeBytesFile(files.launcher, c.launcher);
        if (!c.icon.empty())
            writeBytesFile(files.icon, c.icon);
        if (!c.settings.empty())
            writeBytesFile(files.settings, c.settings);
        const std::wstring out = files.folder.file(L"out.exe");
        writeBytesFile(out, "an older stamped copy");
        const std::string launcherBefore = readBytesFile(files.launcher);

        std::vector<std::wstring> arguments = files.allOptions(files.launcher);
        arguments.insert(arguments.begin(), {L"--out", out});
        const ToolRun run = runStampTool(arguments);

        std::string expected = c.message;
        const std::wstring bad = !c.icon.empty() ? files.icon : files.settings;
        if (const size_t at = expected.find("%L"); at != std::string::npos)
            expected.replace(at, 2, narrow(files.launcher));
        if (const size_t at = expected.find("%F"); at != std::string::npos)
            expected.replace(at, 2, narrow(bad));
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name;
        EXPECT_EQ(run.err, expected) << c.name;
        EXPECT_EQ(run.out, "") << c.name;
        EXPECT_TRUE(readBytesFile(files.launcher) == launcherBefore) << c.name;
        EXPECT_EQ(readBytesFile(out), "an older stamped copy") << c.name;
        EXPECT_FALSE(fileExists(out + L".stamping")) << c.name;
    }
}

TEST(StampTool, WrongCommandLinesExitWithTwoAndTouchNothing) {
    StampFiles files;
    const std::string before = readBytesFile(files.launcher);
    const ToolRun run =
        runStampTool({L"--icon", files.icon, L"--execution-level=admin", files.launcher});
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_EQ(run.err, "qova-stamp: \"admin\" is not an execution level: use asInvoker, "
                       "highestAvailable or requireAdministrator.\r\nSee qova-stamp --help.\r\n");
    EXPECT_TRUE(readBytesFile(files.launcher) == before);
}

TEST(StampTool, CodePageFollowsTheExecutionLevelAndComesOutAgain) {
    StampFiles files;
    const auto manifestOf = [](const std::wstring& path) {
        return DataModule(path).resource(RT_MANIFEST, MAKEINTRESOURCEW(1)).value_or("");
    };
    const std::wstring levelOnly = files.folder.file(L"level.exe");
    ASSERT_EQ(runStampTool({L"--execution-level=highestAvailable", L"--out", levelOnly,
                            files.launcher})
                  .exitCode,
              0u);
    const ToolRun both = runStampTool({L"--code-page", L"utf-8", L"--execution-level",
                                       L"highestAvailable", L"--show", files.launcher});
    ASSERT_EQ(both.exitCode, 0u) << both.err;
    EXPECT_NE(both.out.find("execution level highestAvailable, code page UTF-8"), std::string::npos)
        << both.out;
    EXPECT_NE(both.out.find("  Code page: UTF-8\r\n"), std::string::npos) << both.out;
    const std::string utf8 = manifestOf(files.launcher);
    EXPECT_NE(utf8.find("level=\"highestAvailable\""), std::string::npos);
    EXPECT_NE(utf8.find("<activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/"
                        "WindowsSettings\">UTF-8</activeCodePage>"),
              std::string::npos)
        << utf8;
    EXPECT_TRUE(checksumMatches(files.launcher));

    const ToolRun system = runStampTool({L"--code-page=system", L"--show", files.launcher});
    ASSERT_EQ(system.exitCode, 0u) << system.err;
    EXPECT_NE(system.out.find("  Code page: the system's ANSI code page\r\n"), std::string::npos)
        << system.out;
    EXPECT_EQ(manifestOf(files.launcher), manifestOf(levelOnly));
}

TEST(StampTool, ShippedSampleSettingsFileIsAccepted) {
    StampFiles files;
    const ToolRun run = runStampTool(
        {L"--settings", testProgramFolder() + L"\\stamp-data\\sample.ini", files.launcher});
    EXPECT_EQ(run.exitCode, 0u) << run.err;
}

} // namespace
