// The stamping tool's command line: what it takes, and what it refuses before touching a file.
#include "StampOptions.h"
#include "StampTexts.h"

#include <gtest/gtest.h>

namespace {

ParsedCommandLine parse(std::vector<std::wstring> arguments) {
    return parseStampCommandLine(arguments);
}

TEST(StampOptions, TakesEveryOptionInBothForms) {
    const ParsedCommandLine parsed = parse({L"--icon",
                                            L"app.ico",
                                            L"--settings=app.ini",
                                            L"--execution-level",
                                            L"highestAvailable",
                                            L"--out",
                                            L"out dir\\app.exe",
                                            L"--product-name=Viewer Pro",
                                            L"--file-version",
                                            L"1.2",
                                            L"--product-version=3.4.5.6",
                                            L"--company",
                                            L"Acme",
                                            L"--description",
                                            L"A viewer",
                                            L"--copyright",
                                            L"(c) Acme",
                                            L"--original-filename",
                                            L"viewer.exe",
                                            L"launcher.exe",
                                            L"--show"});
    ASSERT_EQ(parsed.error, L"");
    const StampOptions& options = parsed.options;
    EXPECT_EQ(options.launcher, L"launcher.exe");
    EXPECT_EQ(options.out, L"out dir\\app.exe");
    EXPECT_EQ(options.icon, L"app.ico");
    EXPECT_EQ(options.settings, L"app.ini");
    EXPECT_EQ(options.executionLevel, L"highestAvailable");
    EXPECT_TRUE(options.show);
    EXPECT_EQ(options.fileVersion, (VersionNumber{1, 2, 0, 0}));
    EXPECT_EQ(options.productVersion, (VersionNumber{3, 4, 5, 6}));
    const std::vector<std::pair<std::wstring, std::wstring>> strings = {
        {L"ProductName", L"Viewer Pro"},     {L"FileVersion", L"1.2"},
        {L"ProductVersion", L"3.4.5.6"},     {L"CompanyName", L"Acme"},
        {L"FileDescription", L"A viewer"},   {L"LegalCopyright", L"(c) Acme"},
        {L"OriginalFilename", L"viewer.exe"}};
    EXPECT_EQ(options.versionStrings, strings);
}

TEST(StampOptions, EmptyVersionValuesRemoveTheField) {
    const ParsedCommandLine parsed = parse({L"--company=", L"--file-version", L"", L"app.exe"});
    ASSERT_EQ(parsed.error, L"");
    EXPECT_EQ(parsed.options.fileVersion, (VersionNumber{0, 0, 0, 0}));
    const std::vector<std::pair<std::wstring, std::wstring>> strings = {{L"CompanyName", L""},
                                                                        {L"FileVersion", L""}};
    EXPECT_EQ(parsed.options.versionStrings, strings);
}

TEST(StampOptions, CodePageAloneIsSomethingToStamp) {
    const ParsedCommandLine utf8 = parse({L"--code-page", L"UTF-8", L"--out=b.exe", L"app.exe"});
    ASSERT_EQ(utf8.error, L"");
    EXPECT_EQ(utf8.options.codePage, CodePage::utf8);
    const ParsedCommandLine system = parse({L"--code-page=system", L"app.exe"});
    ASSERT_EQ(system.error, L"");
    EXPECT_EQ(system.options.codePage, CodePage::system);
}

TEST(StampOptions, SubsystemAloneIsSomethingToStamp) {
    const ParsedCommandLine console = parse({L"--subsystem", L"console", L"--out=b.exe", L"app.exe"});
    ASSERT_EQ(console.error, L"");
    EXPECT_EQ(console.options.subsystem, Subsystem::console);
    EXPECT_EQ(parse({L"--subsystem=windows", L"app.exe"}).options.subsystem, Subsystem::windows);
    // Without the option a copy keeps the subsystem it has.
    EXPECT_EQ(parse({L"--icon=a.ico", L"app.exe"}).options.subsystem, std::nullopt);
}

TEST(StampOptions, ShowAloneAndHelpNeedNothingElse) {
    EXPECT_EQ(parse({L"--show", L"app.exe"}).error, L"");
    EXPECT_TRUE(parse({L"--help"}).options.help);
    EXPECT_TRUE(parse({L"/?"}).options.help);
}

TEST(StampOptions, RemovingASignatureIsSomethingToWrite) {
    const ParsedCommandLine alone = parse({L"--remove-signature", L"--out=b.exe", L"app.exe"});
    ASSERT_EQ(alone.error, L"");
    EXPECT_TRUE(alone.options.removeSignature);
    EXPECT_TRUE(alone.options.writesFile());
    EXPECT_FALSE(alone.options.stampsAnything());
    EXPECT_FALSE(parse({L"--icon=a.ico", L"app.exe"}).options.removeSignature);
    EXPECT_EQ(parse({L"--remove-signature=yes", L"app.exe"}).error,
              texts::unknownOption(L"--remove-signature"));
}

TEST(StampOptions, RefusesBadCommandLines) {
    struct Case {
        std::vector<std::wstring> arguments;
        std::wstring error;
    };
    const std::vector<Case> cases = {
        {{}, texts::noLauncher()},
        {{L"--icon", L"a.ico"}, texts::noLauncher()},
        {{L"app.exe"}, texts::nothingToDo()},
        {{L"--out", L"b.exe", L"--show", L"app.exe"}, texts::outWithoutStamping()},
        {{L"--icon=a.ico", L"app.exe", L"other.exe"}, texts::secondLauncher(L"other.exe")},
        {{L"--icons", L"a.ico", L"app.exe"}, texts::unknownOption(L"--icons")},
        {{L"--show=yes", L"app.exe"}, texts::unknownOption(L"--show")},
        {{L"app.exe", L"--icon"}, texts::optionNeedsValue(L"--icon")},
        {{L"--icon=", L"app.exe"}, texts::optionNeedsValue(L"--icon")},
        {{L"--icon=a.ico", L"--icon=b.ico", L"app.exe"}, texts::optionTwice(L"--icon")},
        {{L"--execution-level=AsInvoker", L"app.exe"}, texts::notAnExecutionLevel(L"AsInvoker")},
        {{L"--execution-level=\x00E4sInvoker", L"app.exe"},
         texts::notAnExecutionLevel(L"\x00E4sInvoker")},
        {{L"--file-version=1.2 beta", L"app.exe"}, texts::notAVersion(L"1.2 beta")},
        {{L"--product-version=70000", L"app.exe"}, texts::notAVersion(L"70000")},
        {{L"--code-page=65001", L"app.exe"}, texts::notACodePage(L"65001")},
        {{L"--code-page=", L"app.exe"}, texts::notACodePage(L"")},
        // The subsystem is spelled exactly, as the --show line prints it.
        {{L"--subsystem=Console", L"app.exe"}, texts::notASubsystem(L"Console")},
        {{L"--subsystem=gui", L"app.exe"}, texts::notASubsystem(L"gui")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parse(c.arguments).error, c.error)
            << testing::PrintToString(c.arguments.empty() ? L"" : c.arguments.front());
}

} // namespace
