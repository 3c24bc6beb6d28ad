// The manifest's main section as the java command reads it, and what the launch takes from it.
#include "jar/JarManifest.h"
#include "jar/ManifestLaunch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<ManifestAttribute> attributesOf(const std::string& text, bool& valid) {
    std::vector<ManifestAttribute> attributes;
    valid = readManifestMainSection(
        {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, attributes);
    return attributes;
}

struct ManifestCase {
    const char* fault;
    std::string text;
    const char* name;        // looked up after reading
    const wchar_t* expected; // null: no such attribute; ignored when invalid
    bool valid = true;
};

TEST(JarManifest, ReadsTheMainSectionAsTheJavaCommandDoes) {
    const std::string longValue(200, 'x');
    const std::wstring longWide(longValue.begin(), longValue.end());
    const ManifestCase cases[] = {
        {"CRLF line ends not split", "Manifest-Version: 1.0\r\nMain-Class: a.B\r\n", "Main-Class",
         L"a.B"},
        {"LF line ends not split", "Manifest-Version: 1.0\nMain-Class: a.B\n", "Main-Class", L"a.B"},
        {"CR line ends not split", "Manifest-Version: 1.0\rMain-Class: a.B\r", "Main-Class", L"a.B"},
        {"a continuation line not joined, or joined with its leading space",
         "Main-Class: com.exa\r\n mple.App\r\n", "Main-Class", L"com.example.App"},
        {"continuation lines decoded one by one, breaking a character split between them",
         "Implementation-Title: Caf\xC3\r\n \xA9 \xE2\x82\r\n \xAC\r\n", "Implementation-Title",
         L"Caf\u00E9 \u20AC"},
        {"a character beyond the basic plane not made a surrogate pair", "X: \xF0\x9F\x98\x80\n", "X",
         L"\xD83D\xDE00"},
        {"a malformed byte passed on or dropped instead of replaced", "X: a\xFF" "b\xC3\n", "X",
         L"a\uFFFDb\uFFFD"},
        {"lead byte F8 taken for a three-byte sequence (U+8000)", "X: \xF8\x80\x80\n", "X",
         L"\uFFFD\uFFFD\uFFFD"},
        {"the main section not ended by the first blank line",
         "Manifest-Version: 1.0\r\n\r\nName: a/B.class\r\nMain-Class: a.B\r\n", "Main-Class",
         nullptr},
        {"attribute names compared with their case", "main-class: a.B\r\n", "MAIN-CLASS", L"a.B"},
        {"an unterminated last line dropped", "Manifest-Version: 1.0\r\nMain-Class: a.B",
         "Main-Class", L"a.B"},
        {"the first of two equal names kept", "Main-Class: a.B\r\nmain-class: c.D\r\n",
         "Main-Class", L"c.D"},
        {"an empty value refused", "Main-Class: \r\n", "Main-Class", L""},
        {"a line longer than 72 bytes refused", "X: " + longValue + "\n", "X",
         longWide.c_str()},
        {"a value with the separator's colon cut at the wrong colon", "X: a: b\n", "X", L"a: b"},
        {"a name without the blank after its colon accepted", "Main-Class:a.B\r\n", "Main-Class",
         nullptr, false},
        {"a line without a colon accepted", "Manifest-Version 1.0\r\n", "Manifest-Version", nullptr,
         false},
        {"an empty name accepted", ": a.B\r\n", "", nullptr, false},
        {"a name with a blank accepted", "Main Class: a.B\r\n", "Main Class", nullptr, false},
        {"a name longer than 70 accepted", std::string(71, 'N') + ": v\n", "N", nullptr, false},
        {"a continuation line with nothing to continue accepted", " a.B\r\nMain-Class: a.B\r\n",
         "Main-Class", nullptr, false},
        {"an empty manifest refused", "", "Main-Class", nullptr},
    };
    for (const ManifestCase& test : cases) {
        SCOPED_TRACE(test.fault);
        bool valid = false;
        const std::vector<ManifestAttribute> attributes = attributesOf(test.text, valid);
        EXPECT_EQ(valid, test.valid);
        if (!test.valid)
            continue;
        const std::wstring* value = manifestValue(attributes, test.name);
        if (!test.expected) {
            EXPECT_EQ(value, nullptr);
            continue;
        }
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(*value, test.expected);
    }
}

struct LaunchCase {
    const char* fault;
    std::string text;
    std::wstring mainClass;
    std::vector<std::wstring> vmOptions;
    bool nativeAccessRefused = false;
    const wchar_t* runtimeVersion = L""; // empty: not known
};

TEST(ManifestLaunch, MainClassAndOptionsAsTheRuntimesJavaCommandDerivesThem) {
    const std::string everything =
        "Add-Opens: a/b\r\nAdd-Exports: c/d\r\nEnable-Native-Access: ALL-UNNAMED\r\n";
    const std::vector<std::wstring> all = {L"--add-exports=c/d=ALL-UNNAMED", L"--add-opens=a/b=ALL-UNNAMED",
                                           L"--enable-native-access=ALL-UNNAMED"};
    const std::vector<std::wstring> modular = {all[0], all[1]};
    const LaunchCase cases[] = {
        {"dots of the main class not made slashes, or blanks around it kept",
         "Main-Class:  com.example.App \t\r\n", L"com/example/App", {}},
        {"items not each made an option for the unnamed module",
         "Add-Opens: java.base/java.lang  java.desktop/sun.awt\r\n",
         L"",
         {L"--add-opens=java.base/java.lang=ALL-UNNAMED",
          L"--add-opens=java.desktop/sun.awt=ALL-UNNAMED"}},
        {"exports and opens mixed up, or options dropped for an unknown version", everything, L"",
         all},
        {"items that are not module/package passed on, changing the option's targets",
         "Add-Opens: java.base /x a/ a/b/c a/b=m a/b,c java.base/java.io\r\n",
         L"",
         {L"--add-opens=java.base/java.io=ALL-UNNAMED"}},
        {"native access for the unnamed module not passed on",
         "Enable-Native-Access: ALL-UNNAMED \r\n", L"", {L"--enable-native-access=ALL-UNNAMED"}},
        {"a native-access value the java command refuses passed to the VM",
         "Enable-Native-Access: java.base\r\n", L"", {}, true},
        {"attributes of another section taken for the main section's",
         "Manifest-Version: 1.0\r\n\r\nName: x\r\nMain-Class: a.B\r\nAdd-Opens: a/b\r\n", L"", {}},
        {"module options given to Java 8, which refuses them", everything, L"", {}, false, L"1.8.0.181"},
        {"native access given to Java 11, which refuses it", everything, L"", modular, false,
         L"11.0.2"},
        {"module options withheld from Java 9", everything, L"", modular, false, L"9"},
        {"native access given to Java 21, whose java command ignores it", everything, L"", modular,
         false, L"21.0.1"},
        {"native access withheld from Java 22", everything, L"", all, false, L"22"},
        {"a jar refused for a native-access value Java 17 ignores",
         "Enable-Native-Access: java.base\r\n", L"", {}, false, L"17"},
    };
    for (const LaunchCase& test : cases) {
        SCOPED_TRACE(test.fault);
        bool valid = false;
        const ManifestLaunch launch = manifestLaunch(attributesOf(test.text, valid));
        ASSERT_TRUE(valid);
        EXPECT_EQ(launch.mainClass, test.mainClass);
        const ManifestOptions options =
            manifestOptionsFor(launch, JavaVersion::fromText(test.runtimeVersion, 0));
        ASSERT_LE(options.count, launch.vmOptions.size());
        EXPECT_EQ(std::vector<std::wstring>(launch.vmOptions.begin(),
                                            launch.vmOptions.begin() + options.count),
                  test.vmOptions);
        EXPECT_EQ(options.nativeAccessRefused, test.nativeAccessRefused);
    }
}

} // namespace
