// Applications started as the java command starts them: its option syntax in the VM parameters,
// modular applications ("Main Module", "Module Path") and JavaFX applications, checked by what
// the VM received and which method started the application.
#include "JavaApp.h"
#include "Screenshot.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testjvm;

namespace {

constexpr DWORD kFailureExitCode = 4294967295u;
constexpr wchar_t kModuleMain[] = L"com/example/Main";

// The options after the class path option and before the hooks: what the settings added.
std::vector<std::wstring> addedOptions(const Record& record) {
    std::vector<std::wstring> options;
    for (const RecordedOption& option : record.options)
        if (!option.hasExtraInfo && !option.text.starts_with(L"-Djava.class.path="))
            options.push_back(option.text);
    return options;
}

std::vector<std::wstring> messagesOf(const LaunchResult& result) {
    EXPECT_FALSE(result.timedOut);
    return result.messageTexts();
}

// A modular application: module "app" in the folder mods beside the exe, its class
// com.example.Main declared by the descriptor, and com.example.Other beside it.
Script modularScript(const std::wstring& declaredMainClass = L"com.example.Main") {
    Script script;
    script.modules.push_back({L"app", declaredMainClass, L"\\mods", {}});
    JavaClass main(kModuleMain);
    main.module = L"app";
    JavaClass other(L"com/example/Other");
    other.module = L"app";
    script.classes = {main, other};
    return script;
}

TEST(JavaCommandSyntax, TwoWordAndOneWordFormsReachTheVmAsOneWordWithRelativePathsResolved) {
    JavaApp app;
    const std::wstring folder = app.app.folder();
    struct Row {
        std::wstring twoWords;
        std::wstring oneWord;
        std::wstring passed;
    };
    const Row rows[] = {
        {L"--module-path \\lib\\javafx", L"--module-path=\\lib\\javafx",
         L"--module-path=" + folder + L"\\lib\\javafx"},
        {L"-p \"\\my mods;D:\\fx\"", L"--module-path=\"\\my mods;D:\\fx\"",
         L"--module-path=" + folder + L"\\my mods;D:\\fx"},
        {L"--upgrade-module-path \\upgrades", L"--upgrade-module-path=\\upgrades",
         L"--upgrade-module-path=" + folder + L"\\upgrades"},
        {L"--add-modules javafx.controls,javafx.fxml", L"--add-modules=javafx.controls,javafx.fxml",
         L"--add-modules=javafx.controls,javafx.fxml"},
        {L"--limit-modules java.base,javafx.controls", L"--limit-modules=java.base,javafx.controls",
         L"--limit-modules=java.base,javafx.controls"},
        {L"--add-reads app=ALL-UNNAMED", L"--add-reads=app=ALL-UNNAMED",
         L"--add-reads=app=ALL-UNNAMED"},
        {L"--add-exports java.base/sun.nio.ch=ALL-UNNAMED",
         L"--add-exports=java.base/sun.nio.ch=ALL-UNNAMED",
         L"--add-exports=java.base/sun.nio.ch=ALL-UNNAMED"},
        {L"--add-opens java.base/java.lang=ALL-UNNAMED",
         L"--add-opens=java.base/java.lang=ALL-UNNAMED",
         L"--add-opens=java.base/java.lang=ALL-UNNAMED"},
        {L"--patch-module java.desktop=\\patch\\desktop.jar",
         L"--patch-module=java.desktop=\\patch\\desktop.jar",
         L"--patch-module=java.desktop=" + folder + L"\\patch\\desktop.jar"},
        {L"--enable-native-access ALL-UNNAMED", L"--enable-native-access=ALL-UNNAMED",
         L"--enable-native-access=ALL-UNNAMED"},
    };
    // The modules the options name are in the runtime image, so that the VM starts.
    Script script = JavaApp::script();
    for (const wchar_t* module : {L"javafx.controls", L"javafx.fxml", L"java.base"})
        script.modules.push_back({module, L"", L"", {}});
    ASSERT_TRUE(app.writeScript(script));

    std::wstring twoWords;
    std::wstring oneWord;
    std::vector<std::wstring> passed;
    for (const Row& row : rows) {
        twoWords += row.twoWords + L" ";
        oneWord += row.oneWord + L" ";
        passed.push_back(row.passed);
    }
    for (const std::wstring& line : {twoWords, oneWord}) {
        SCOPED_TRACE(narrow(line));
        clearRecord(app.runtimeHome);
        app.writeSettings({.vmParameters = line});
        EXPECT_TRUE(messagesOf(app.launch()).empty());
        const Record record = app.record();
        EXPECT_EQ(record.createResult, JNI_OK) << narrow(record.standardError);
        EXPECT_EQ(addedOptions(record), passed);
        EXPECT_EQ(record.callsOf(L"main").size(), 1u);
    }
}

TEST(JavaCommandSyntax, OptionWithoutItsValueOrAJavaCommandActionEndsTheLaunchBeforeTheVm) {
    struct Row {
        std::wstring parameters;
        std::wstring message;
    };
    const std::wstring vmParameters = L"\"Virtual Machine Parameters\"";
    const Row rows[] = {
        {L"-Xmx64m --add-opens",
         L"The option --add-opens in " + vmParameters +
             L" needs a value: follow it with the value, or write the option, \"=\" and the "
             L"value as one word."},
        {L"--module-path=%QOVA_UNSET_FOLDER%x --add-modules=",
         L"The option --add-modules= in " + vmParameters +
             L" needs a value: follow it with the value, or write the option, \"=\" and the "
             L"value as one word."},
        {L"-jar \\lib\\app.jar", L"The option -jar of the java command cannot be given in " +
                                     vmParameters + L": use the setting \"Main Jar\" instead."},
        {L"-m app/com.example.Main", L"The option -m of the java command cannot be given in " +
                                         vmParameters +
                                         L": use the setting \"Main Module\" instead."},
        {L"--version", L"The option --version of the java command starts no application: "
                       L"remove it from " +
                           vmParameters + L"."},
    };
    JavaApp app;
    ASSERT_TRUE(app.writeScript(JavaApp::script()));
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.parameters));
        clearRecord(app.runtimeHome);
        app.writeSettings({.vmParameters = row.parameters});
        // A picture of each message, to look at how the long texts wrap.
        const std::wstring picture = L"option-fault-" + std::to_wstring(&row - rows);
        const LaunchResult result = app.launch({.onDialog = [&picture](HWND dialog) {
            Sleep(300);
            saveWindowScreenshot(dialog, picture);
            return false;
        }});
        EXPECT_EQ(result.exitCode, kFailureExitCode);
        EXPECT_EQ(messagesOf(result), std::vector<std::wstring>{row.message});
        EXPECT_EQ(app.record().createCalls, 0);
    }
}

TEST(ModularApplication, MainRunsInTheModuleFromTheDescriptorOrTheClassNamed) {
    struct Row {
        std::wstring mainModule;
        std::wstring mainClass;
        std::wstring started;
    };
    const Row rows[] = {
        {L"app", L"", L"com.example.Main.main([Ljava/lang/String;)V"},
        {L"app/com.example.Other", L"", L"com.example.Other.main([Ljava/lang/String;)V"},
        // "Main Class" wins over the module's class; the module is still resolved.
        {L"app", L"com.example.Other", L"com.example.Other.main([Ljava/lang/String;)V"},
    };
    JavaApp app;
    createFolders(app.app.besideExe(L"mods"));
    ASSERT_TRUE(app.writeScript(modularScript()));
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.mainModule + L" " + row.mainClass));
        clearRecord(app.runtimeHome);
        // No class path: the application lives on the module path alone.
        app.writeSettings(
            {.mainClass = row.mainClass,
             .classPath = L"",
             .runtimeLines = L"Main Module=" + row.mainModule + L"\r\nModule Path=\\mods\r\n"});
        const LaunchResult result = app.launch({.arguments = L"one \"two words\""});
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_TRUE(messagesOf(result).empty());
        const Record record = app.record();
        EXPECT_EQ(record.optionTexts().front(), L"--module-path=" + app.app.folder() + L"\\mods");
        EXPECT_EQ(addedOptions(record),
                  (std::vector<std::wstring>{L"--module-path=" + app.app.folder() + L"\\mods",
                                             L"-Djdk.module.main=app"}));
        EXPECT_EQ(record.resolvedModules, std::vector<std::wstring>{L"app"});
        const auto mains = record.callsOf(L"main");
        ASSERT_EQ(mains.size(), 1u);
        EXPECT_EQ(mains.front()->method, row.started);
        EXPECT_EQ(mains.front()->arguments, (std::vector<std::wstring>{L"one", L"two words"}));
        EXPECT_TRUE(record.violations.empty());
    }
}

TEST(ModularApplication, ModuleWithoutItsMainClassOrNotFoundEndsWithAClearMessage) {
    struct Row {
        const char* name;
        std::wstring mainModule;
        std::wstring declaredMainClass;
        std::wstring message;
        std::wstring standardError; // what the VM explains, when it does
    };
    const Row rows[] = {
        {"no declared main class", L"app", L"",
         L"The module app declares no main class. Name the class in \"Main Module\", as in "
         L"app/com.example.Main, or set \"Main Class\".",
         L""},
        {"class not in the module", L"app/com.example.Elsewhere", L"com.example.Main",
         L"The main class com.example.Elsewhere is not in the module app named in \"Main "
         L"Module\".",
         L""},
        // As HotSpot does, the VM itself refuses to start without the main module.
        {"module not on the module path", L"absent", L"com.example.Main",
         L"JNI exception: failed to create the Java VM\nReason: unknown.\n",
         L"java.lang.module.FindException: Module absent not found"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        JavaApp app;
        createFolders(app.app.besideExe(L"mods"));
        ASSERT_TRUE(app.writeScript(modularScript(row.declaredMainClass)));
        app.writeSettings(
            {.mainClass = L"",
             .runtimeLines = L"Main Module=" + row.mainModule + L"\r\nModule Path=\\mods\r\n"});
        const LaunchResult result = app.launch();
        EXPECT_EQ(result.exitCode, kFailureExitCode);
        EXPECT_EQ(messagesOf(result), std::vector<std::wstring>{row.message});
        const Record record = app.record();
        EXPECT_TRUE(record.calls.empty());
        EXPECT_NE(record.standardError.find(row.standardError), std::wstring::npos)
            << narrow(record.standardError);
        EXPECT_TRUE(record.violations.empty());
    }
}

// The application class com.example.App on the class path, extending
// javafx.application.Application without a main of its own; Application is in module
// javafx.graphics, which javafx.controls requires, both in `javaFxLocation` (empty: the runtime
// image).
Script javaFxScript(const std::wstring& javaFxLocation) {
    Script script;
    JavaClass viewer(JavaApp::kMainClass, {}, {}, L"\\lib\\app.jar");
    viewer.superclass = L"javafx/application/Application";
    JavaClass application(L"javafx/application/Application",
                          {L"launch(Ljava/lang/Class;[Ljava/lang/String;)V"});
    application.module = L"javafx.graphics";
    script.classes = {viewer, application};
    script.modules.push_back({L"javafx.graphics", L"", javaFxLocation, {}});
    script.modules.push_back({L"javafx.controls", L"", javaFxLocation, {L"javafx.graphics"}});
    return script;
}

TEST(JavaFx, ApplicationSubclassWithoutMainStartsThroughLaunchInBothLayouts) {
    struct Row {
        const char* layout;
        std::wstring javaFxLocation;
        std::wstring vmParameters;
    };
    const Row rows[] = {
        {"JavaFX on the module path", L"\\lib\\javafx",
         L"--module-path \\lib\\javafx --add-modules javafx.controls"},
        {"a jlinked runtime with JavaFX inside", L"", L""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.layout);
        JavaApp app;
        createFolders(app.app.besideExe(L"lib\\javafx"));
        Script script = javaFxScript(row.javaFxLocation);
        script.mainActions = {Action::printArgs()};
        ASSERT_TRUE(app.writeScript(script));
        app.writeSettings({.vmParameters = row.vmParameters});
        const LaunchResult result = app.launch({.arguments = L"--scene=main"});
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_TRUE(messagesOf(result).empty());
        const Record record = app.record();
        EXPECT_EQ(record.createResult, JNI_OK) << narrow(record.standardError);
        EXPECT_TRUE(record.callsOf(L"main").empty());
        const auto launches = record.callsOf(L"launch");
        ASSERT_EQ(launches.size(), 1u);
        EXPECT_EQ(launches.front()->classArgument, L"com.example.App");
        EXPECT_EQ(launches.front()->arguments, std::vector<std::wstring>{L"--scene=main"});
        EXPECT_EQ(record.standardOutput, L"--scene=main\r\n");
        EXPECT_TRUE(record.violations.empty());
    }
}

TEST(JavaFx, ApplicationSubclassWithoutJavaFxInTheBootLayerReportsTheMissingMain) {
    // JavaFX on the module path but not added: the class cannot be a JavaFX application to the
    // VM, and what the user learns is the VM's own NoSuchMethodError, as without JavaFX.
    JavaApp app;
    createFolders(app.app.besideExe(L"lib\\javafx"));
    ASSERT_TRUE(app.writeScript(javaFxScript(L"\\lib\\javafx")));
    app.writeSettings({.vmParameters = L"--module-path \\lib\\javafx"});
    const LaunchResult result = app.launch();
    EXPECT_EQ(result.exitCode, kFailureExitCode);
    EXPECT_TRUE(messagesOf(result).empty());
    const Record record = app.record();
    EXPECT_TRUE(record.calls.empty());
    EXPECT_NE(record.standardError.find(L"NoSuchMethodError"), std::wstring::npos)
        << narrow(record.standardError);
    EXPECT_TRUE(record.violations.empty());
}

} // namespace
