// Executable jars: the main class and the options the VM is given from a jar's manifest, for a
// "Main Jar" beside the launcher and for a jar appended to the launcher, and the message a jar
// that cannot be used gives instead of a VM failure.
#include "JavaApp.h"
#include "ScopedRegistryKey.h"

#include <gtest/gtest.h>

namespace {

using testjvm::JavaClass;
using testjvm::layOutRuntime;
using testjvm::readRecord;
using testjvm::writeScript;
using testjvm::kMainMethod;
using testjvm::Record;
using testjvm::RuntimeLayout;
using testjvm::Script;

constexpr DWORD kFailureExitCode = 4294967295u;

std::wstring testJar(const wchar_t* name) {
    return testProgramFolder() + L"\\e2e-data\\" + name;
}

// The options of the jar's manifest: its two Add-Opens items, the second one continued on the
// manifest's next line.
const std::vector<std::wstring> kManifestOptions = {
    L"--add-opens=java.base/java.lang=ALL-UNNAMED",
    L"--add-opens=java.desktop/sun.awt=ALL-UNNAMED",
};

// A script whose main class is found only in the jar named by `classPathEntry`.
Script scriptWithMainIn(const wchar_t* classPathEntry) {
    Script script;
    script.classes.push_back(JavaClass(JavaApp::kMainClass, {kMainMethod}, {}, classPathEntry));
    return script;
}

void expectStarted(const JavaApp& app, const std::vector<std::wstring>& expectedOptions) {
    const LaunchResult result = app.launch();
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    for (const std::wstring& text : result.messageTexts())
        ADD_FAILURE() << "message box: " << narrow(text);
    const Record record = app.record();
    EXPECT_EQ(record.createResult, JNI_OK);
    EXPECT_EQ(record.optionTexts(), expectedOptions);
    // Only the manifest's main section names com.example.App; the entry section behind it names
    // another class, which the runtime does not have.
    EXPECT_EQ(record.callsOf(L"main").size(), 1u);
    EXPECT_TRUE(record.violations.empty());
}

// The small jar, and one of 70,000 entries whose end records are in ZIP64 form.
constexpr const wchar_t* kLaunchedJars[] = {L"executable.jar", L"fat.jar"};

TEST(JarLaunch, MainJarGoesFirstAndItsManifestGivesTheMainClassAndOpens) {
    for (const wchar_t* jar : kLaunchedJars) {
        SCOPED_TRACE(narrow(jar));
        JavaApp app;
        ASSERT_TRUE(CopyFileW(testJar(jar).c_str(), app.app.besideExe(L"viewer.jar").c_str(), FALSE));
        ASSERT_TRUE(app.writeScript(scriptWithMainIn(L"\\viewer.jar")));
        app.writeSettings({.mainClass = L"",
                           .vmParameters = L"-Xmx64m",
                           .runtimeLines = L"Main Jar=\\viewer.jar\r\n"});
        std::vector<std::wstring> expected = {L"-Djava.class.path=" +
                                              app.app.besideExe(L"viewer.jar") + L";" +
                                              app.app.besideExe(JavaApp::kJar) + L";"};
        expected.insert(expected.end(), kManifestOptions.begin(), kManifestOptions.end());
        expected.insert(expected.end(), {L"-Xmx64m", L"abort", L"exit"});
        expectStarted(app, expected);
    }
}

TEST(JarLaunch, EmbeddedJarWithoutMainClassReadsTheJarAppendedToTheLauncher) {
    for (const wchar_t* jar : kLaunchedJars) {
        SCOPED_TRACE(narrow(jar));
        JavaApp app;
        // As `copy /b app.exe + app.jar` leaves it: the jar's offsets count from its own start.
        writeBytesFile(app.app.exePath(),
                       readBytesFile(app.app.exePath()) + readBytesFile(testJar(jar)));
        ASSERT_TRUE(app.writeScript(scriptWithMainIn(L"\\app.exe")));
        app.writeSettings(
            {.mainClass = L"", .classPath = L"", .applicationLines = L"Embedded Jar=Yes\r\n"});
        std::vector<std::wstring> expected = {L"-Djava.class.path=" + app.app.exePath() + L";"};
        expected.insert(expected.end(), kManifestOptions.begin(), kManifestOptions.end());
        expected.insert(expected.end(), {L"abort", L"exit"});
        expectStarted(app, expected);
    }
}

// A jar built to run on Java 8 and on today's Java, started on runtimes registered under their
// versions, each refusing the options its own VM does not know: each gets what its java
// command would give it.
TEST(JarLaunch, ManifestOptionsAreThoseTheChosenRuntimesJavaCommandTakes) {
    struct Row {
        const wchar_t* fault;
        const wchar_t* version;
        std::vector<std::wstring> unknownOptions;
        std::vector<std::wstring> manifestOptions;
    };
    const Row rows[] = {
        {L"module and native-access options given to Java 8, whose VM refuses both",
         L"1.8.0.9131", {L"--add-opens=*", L"--add-exports=*", L"--enable-native-access=*"}, {}},
        {L"native access given to Java 11, whose VM refuses it", L"11.0.9131",
         {L"--enable-native-access=*"}, {L"--add-opens=java.base/java.lang=ALL-UNNAMED"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.fault));
        JavaApp app(RuntimeLayout{.javaLibrary = false}); // no private runtime
        const std::wstring home = layOutRuntime(app.app.file(std::wstring(L"installed\\") + row.version));
        Script script = scriptWithMainIn(L"\\viewer.jar");
        script.rejectedOptions = row.unknownOptions;
        ASSERT_TRUE(!home.empty() && writeScript(home, script));
        const ScopedRegistryKey key(
            std::wstring(L"Software\\JavaSoft\\Java Runtime Environment\\") + row.version,
            tested::kOwnRegistryViewIs32Bit, JavaHomeValue{home});
        ASSERT_TRUE(key.created());
        ASSERT_TRUE(CopyFileW(testJar(L"newer-java.jar").c_str(),
                              app.app.besideExe(L"viewer.jar").c_str(), FALSE));
        app.writeSettings({.mainClass = L"",
                           .classPath = L"",
                           .runtimeLines = std::wstring(L"Main Jar=\\viewer.jar\r\nMinimum Version=") +
                                           row.version + L"\r\nMaximum Version=" + row.version +
                                           L"\r\n"});
        const LaunchResult result = app.launch();
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_EQ(result.messageTexts(), std::vector<std::wstring>{});
        const Record record = readRecord(home).value_or(Record{});
        std::vector<std::wstring> expected = {L"-Djava.class.path=" + app.app.besideExe(L"viewer.jar") + L";"};
        expected.insert(expected.end(), row.manifestOptions.begin(), row.manifestOptions.end());
        expected.insert(expected.end(), {L"abort", L"exit"});
        EXPECT_EQ(record.optionTexts(), expected);
        EXPECT_EQ(record.callsOf(L"main").size(), 1u);
    }
}

TEST(JarLaunch, UnusableJarEndsTheLaunchWithAMessageNamingIt) {
    struct Case {
        const wchar_t* fault; // what the launch would do without the check
        const wchar_t* jar;   // copied from the test data to viewer.jar; null: none there
        const wchar_t* settingsLines;
        bool embedded;
        std::wstring message; // %s stands for the jar's path
    };
    const Case cases[] = {
        {L"a cut-off jar read past its end", L"truncated.jar", L"Main Jar=\\viewer.jar\r\n", false,
         L"The jar %s is damaged or is not a jar.\n"},
        {L"a missing jar left to the VM to fail on", nullptr, L"Main Jar=\\viewer.jar\r\n", false,
         L"The jar %s cannot be read (errno = 2).\n"},
        {L"a jar without a manifest started with no main class", L"no-manifest.jar",
         L"Main Jar=\\viewer.jar\r\n", false,
         L"The jar %s has no manifest (META-INF/MANIFEST.MF).\n"},
        {L"an entry section's Main-Class taken for the jar's", L"no-main-class.jar",
         L"Main Jar=\\viewer.jar\r\n", false,
         L"The manifest of the jar %s names no Main-Class, and no Main Class is set.\n"},
        {L"a launcher with nothing appended taken as a jar", nullptr, L"", true,
         L"The jar %s is damaged or is not a jar.\n"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(narrow(test.fault));
        JavaApp app;
        const std::wstring jarPath = test.embedded ? app.app.exePath() : app.app.besideExe(L"viewer.jar");
        if (test.jar)
            ASSERT_TRUE(CopyFileW(testJar(test.jar).c_str(), jarPath.c_str(), FALSE));
        ASSERT_TRUE(app.writeScript(scriptWithMainIn(L"\\viewer.jar")));
        app.writeSettings({.mainClass = L"",
                           .runtimeLines = test.settingsLines,
                           .applicationLines = test.embedded ? L"Embedded Jar=Yes\r\n" : L""});
        const LaunchResult result = app.launch();
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, kFailureExitCode);
        std::wstring expected = test.message;
        expected.replace(expected.find(L"%s"), 2, jarPath);
        EXPECT_EQ(result.messageTexts(), std::vector<std::wstring>{expected});
        EXPECT_EQ(app.record().createCalls, 0);
    }
}

} // namespace
