// Setting and removing the code page a manifest asks for, and nothing else in it.
#include "ManifestCodePage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

constexpr const char* kUtf8 =
    R"(<activeCodePage xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">UTF-8</activeCodePage>)";

TEST(ManifestCodePage, SetsUtf8WhereverTheManifestAllows) {
    struct Case {
        const char* name;
        std::string manifest;
        std::string expected; // empty: refused
    };
    const std::string u = kUtf8;
    const Case cases[] = {
        {"added at the end of windowsSettings, indented, CR LF kept",
         "<assembly>\r\n  <asmv3:windowsSettings>\r\n    <dpiAware>true</dpiAware>\r\n"
         "  </asmv3:windowsSettings>\r\n</assembly>",
         "<assembly>\r\n  <asmv3:windowsSettings>\r\n    <dpiAware>true</dpiAware>\r\n    " + u +
             "\r\n  </asmv3:windowsSettings>\r\n</assembly>"},
        {"end tag not at the start of its line", "<a><windowsSettings><x/></windowsSettings></a>",
         "<a><windowsSettings><x/>" + u + "</windowsSettings></a>"},
        {"a windowsSettings in a comment does not count",
         "<assembly><!-- </windowsSettings> -->\n</assembly>",
         "<assembly><!-- </windowsSettings> -->\n  <application "
         "xmlns=\"urn:schemas-microsoft-com:asm.v3\"><windowsSettings>" +
             u + "</windowsSettings></application>\n</assembly>"},
        {"existing value replaced, prefix kept",
         "<s><ws:activeCodePage xmlns:ws=\"x\"> Legacy </ws:activeCodePage></s>",
         "<s><ws:activeCodePage xmlns:ws=\"x\">UTF-8</ws:activeCodePage></s>"},
        {"empty element filled", "<s><activeCodePage xmlns=\"x\" /></s>",
         "<s><activeCodePage xmlns=\"x\">UTF-8</activeCodePage></s>"},
        {"a \">\" inside an attribute value", "<s a=\"1>2\"><activeCodePage>x</activeCodePage></s>",
         "<s a=\"1>2\"><activeCodePage>UTF-8</activeCodePage></s>"},
        {"no assembly to put it in", "<?xml version=\"1.0\"?>", ""},
        {"element never ended", "<s><activeCodePage>UTF-8</s>", ""},
        {"comment never ended", "<assembly><!-- </assembly>", ""},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> changed = withCodePage(c.manifest, CodePage::utf8);
        EXPECT_EQ(changed.value_or(""), c.expected) << c.name;
        if (changed) {
            EXPECT_EQ(activeCodePage(*changed).value_or("none"), "UTF-8") << c.name;
            // Stamping twice changes nothing more.
            EXPECT_EQ(withCodePage(*changed, CodePage::utf8), changed) << c.name;
        }
    }
}

TEST(ManifestCodePage, SystemRemovesTheElementWithItsLine) {
    const std::string manifest = "<ws>\r\n  <dpiAware>x</dpiAware>\r\n  " + std::string(kUtf8) +
                                 "\r\n</ws>";
    EXPECT_EQ(withCodePage(manifest, CodePage::system), "<ws>\r\n  <dpiAware>x</dpiAware>\r\n</ws>");
    // Sharing a line with another element, only the element goes.
    EXPECT_EQ(withCodePage("<ws><a/><activeCodePage>UTF-8</activeCodePage><b/></ws>",
                           CodePage::system),
              "<ws><a/><b/></ws>");
    // Nothing to remove: the manifest stays as it is.
    EXPECT_EQ(withCodePage("<assembly/>", CodePage::system), "<assembly/>");
    EXPECT_EQ(activeCodePage("<ws><!-- <activeCodePage>UTF-8</activeCodePage> --></ws>"),
              std::nullopt);
}

TEST(ManifestCodePage, LauncherManifestRoundTrips) {
    std::ifstream file(QOVA_SOURCE_DIR "/src/res/launcher.manifest", std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    const std::string manifest = text.str();
    ASSERT_FALSE(manifest.empty());
    EXPECT_EQ(activeCodePage(manifest), std::nullopt);
    const std::optional<std::string> utf8 = withCodePage(manifest, CodePage::utf8);
    ASSERT_TRUE(utf8);
    // Inside the windowsSettings the DPI settings are in.
    EXPECT_LT(utf8->find("<dpiAwareness"), utf8->find("<activeCodePage"));
    EXPECT_LT(utf8->find("<activeCodePage"), utf8->find("</asmv3:windowsSettings>"));
    EXPECT_EQ(withCodePage(*utf8, CodePage::system), manifest);
}

TEST(ManifestCodePage, ParsesTheOptionValues) {
    EXPECT_EQ(parseCodePage(L"utf-8"), CodePage::utf8);
    EXPECT_EQ(parseCodePage(L"UTF-8"), CodePage::utf8);
    EXPECT_EQ(parseCodePage(L"System"), CodePage::system);
    for (const wchar_t* refused : {L"utf8", L"65001", L"1252", L"", L"utf-8 ", L"\u0440utf-8"})
        EXPECT_EQ(parseCodePage(refused), std::nullopt);
}

} // namespace
