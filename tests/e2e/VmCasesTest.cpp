// The cases of tests/common/VmCases.h, which the HotSpot tier runs against HotSpot on Linux,
// run here through the real launcher against the stand-in runtime: the outcomes must be the
// same. The application's classes are scripted to do what the tier's Java classes do.
#include "JavaApp.h"
#include "VmCases.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace testjvm;
using vmcases::VmCase;

namespace {

// Cases that need what this tier starts otherwise, with where that is tested.
const std::map<std::string, const char*> kElsewhere = {
    {"manifest-main-class", "JarLaunchTest starts the launcher with jars of its own"},
    {"secondary-main-on-attached-thread", "SingleInstanceTest forwards to secondaryMain"},
    {"system-exit-on-attached-thread", "ServiceTest stops the launcher as a service"},
    {"stop-method-on-attached-thread", "ServiceTest stops the launcher as a service"},
};

// What each class of the table does, as the stand-in's main actions.
std::vector<Action> mainActionsOf(const std::wstring& mainClass) {
    if (mainClass == L"app.Exit")
        return {Action::exit(3)};
    if (mainClass == L"app.ExitFromThread")
        return {Action::exitFromThread(5)};
    if (mainClass == L"app.Worker")
        return {Action::thread(300)};
    if (mainClass == L"app.Fails")
        return {Action::throwException(L"java/lang/IllegalStateException: boom")};
    return {};
}

// The application of the table: app.* in lib\app.jar, the module appmod in mods, JavaFX in
// lib\javafx; java.base and java.sql in the runtime image.
Script tableScript(const VmCase& row) {
    Script script;
    for (const wchar_t* name : {L"app/Main", L"app/Exit", L"app/ExitFromThread", L"app/Worker",
                                L"app/Fails"})
        script.classes.push_back(JavaClass(name, {kMainMethod, kSecondaryMainVoid}, {},
                                           L"\\lib\\app.jar"));
    JavaClass viewer(L"app/Viewer", {}, {}, L"\\lib\\app.jar");
    viewer.superclass = L"javafx/application/Application";
    JavaClass application(L"javafx/application/Application",
                          {L"launch(Ljava/lang/Class;[Ljava/lang/String;)V"});
    application.module = L"javafx.graphics";
    script.classes.push_back(viewer);
    script.classes.push_back(application);
    for (const wchar_t* name : {L"appmod/Main", L"appmod/Other"}) {
        JavaClass moduleClass(name);
        moduleClass.module = L"appmod";
        script.classes.push_back(moduleClass);
    }
    script.modules = {{L"java.base", L"", L"", {}},
                      {L"java.sql", L"", L"", {}},
                      {L"appmod", L"appmod.Main", L"\\mods", {}},
                      {L"javafx.base", L"", L"\\lib\\javafx", {}},
                      {L"javafx.graphics", L"", L"\\lib\\javafx", {L"javafx.base"}},
                      {L"javafx.controls", L"", L"\\lib\\javafx", {L"javafx.graphics"}}};
    script.mainActions = mainActionsOf(row.mainClass);
    return script;
}

std::wstring commandLine(const std::vector<std::wstring>& arguments) {
    std::wstring line;
    for (const std::wstring& argument : arguments)
        line += (line.empty() ? L"" : L" ") + quotedArgument(argument);
    return line;
}

class VmCaseOnStandIn : public ::testing::TestWithParam<std::size_t> {};

TEST_P(VmCaseOnStandIn, SameOutcomeAsOnHotSpot) {
    const VmCase& row = vmcases::kVmCases[GetParam()];
    if (const auto elsewhere = kElsewhere.find(row.name); elsewhere != kElsewhere.end())
        GTEST_SKIP() << elsewhere->second;
    JavaApp app;
    createFolders(app.app.besideExe(L"mods"));
    createFolders(app.app.besideExe(L"lib\\javafx"));
    ASSERT_TRUE(app.writeScript(tableScript(row)));
    std::wstring runtimeLines;
    if (!row.mainModule.empty())
        runtimeLines = L"Main Module=" + row.mainModule + L"\r\nModule Path=\\mods\r\n";
    app.writeSettings({.mainClass = row.mainClass,
                       .classPath = L"\\lib\\app.jar",
                       .vmParameters = row.vmParameters,
                       .runtimeLines = runtimeLines});
    LaunchOptions options{.arguments = commandLine(row.arguments)};
    if (!row.optionVariable.empty())
        options.environment[vmcases::kOptionVariable] = row.optionVariable;
    const LaunchResult result = app.launch(options);
    const Record record = app.record();
    SCOPED_TRACE("The VM printed:\n" + narrow(record.standardError));

    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, row.exitCode);
    EXPECT_EQ(record.createResult == JNI_OK, row.created);
    EXPECT_NE(record.standardError.find(row.standardError), std::wstring::npos);
    EXPECT_EQ(result.messageTexts(),
              row.message.empty() ? std::vector<std::wstring>{}
                                  : std::vector<std::wstring>{row.message});

    std::wstring started;
    std::vector<std::wstring> received;
    for (const JavaCall& call : record.calls) {
        const std::wstring method = call.method.substr(0, call.method.find(L'('));
        if (!method.ends_with(L".main") && !method.ends_with(L".launch"))
            continue;
        EXPECT_TRUE(started.empty()) << "started twice";
        // Application.launch(Class, String[]) starts the class it is given, as start.
        started = method.ends_with(L".launch") ? call.classArgument + L".start" : method;
        received = call.arguments;
    }
    EXPECT_EQ(started, row.started);
    EXPECT_EQ(received, row.received);
    EXPECT_EQ(record.exitHookStatuses,
              row.exitHook ? std::vector<long long>{row.exitCode} : std::vector<long long>{});
    // DestroyJavaVM waited for the thread that outlived main.
    EXPECT_EQ(record.destroyWaitMs >= 200, row.outlivesMain) << record.destroyWaitMs;
    EXPECT_TRUE(record.violations.empty());
}

INSTANTIATE_TEST_SUITE_P(Table, VmCaseOnStandIn,
                         ::testing::Range<std::size_t>(0, vmcases::kVmCases.size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             std::string name = vmcases::kVmCases[info.param].name;
                             for (char& c : name)
                                 if (c == '-')
                                     c = '_';
                             return name;
                         });

} // namespace
