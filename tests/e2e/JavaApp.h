// An application laid out as an installer leaves it: app.exe with its settings file, the test
// Java runtime beside it as the private runtime ("jre64\", or "jre32\" for the 32-bit
// launcher), and the application's jar in lib\ beside it.
#pragma once

#include "LaunchHarness.h"
#include "TestRuntime.h"
#include "TestedBuild.h"

#include <string>
#include <utility>
#include <vector>

struct AppSettings {
    std::wstring mainClass = L"com.example.App";
    std::wstring classPath = L"\\lib\\*.jar";
    std::wstring vmParameters;
    // Further "Key=Value\r\n" lines of [Java Runtime Environment] and of [Application].
    std::wstring runtimeLines;
    std::wstring applicationLines;
    std::wstring displayLines; // lines of [Display], the splash screen's section
};

class JavaApp {
  public:
    // The class the default settings name; it is found only on a class path that holds the
    // application's jar, as a real class is found only in its jar.
    static constexpr wchar_t kMainClass[] = L"com/example/App";
    static constexpr wchar_t kJar[] = L"lib\\app.jar";

    explicit JavaApp(const testjvm::RuntimeLayout& layout = {},
                     const std::wstring& exeName = L"app.exe")
        : app(exeName),
          runtimeHome(testjvm::layOutRuntime(app.besideExe(tested::kPrivateRuntimeFolder), layout)) {
        createFolders(app.besideExe(L"lib"));
        writeBytesFile(app.besideExe(kJar), "PK");
    }

    // A script whose main class exists, with `mainActions` as what main does.
    static testjvm::Script script(std::vector<testjvm::Action> mainActions = {}) {
        testjvm::Script script;
        script.classes.push_back(
            testjvm::JavaClass(kMainClass, {testjvm::kMainMethod}, {}, L"\\lib\\app.jar"));
        script.mainActions = std::move(mainActions);
        return script;
    }

    void writeSettings(const AppSettings& settings = {}) const {
        app.writeSettings(L"[Java Runtime Environment]\r\nMain Class=" + settings.mainClass +
                          L"\r\nVirtual Machine Parameters=" + settings.vmParameters + L"\r\n" +
                          settings.runtimeLines + L"[Class Path]\r\nClass Path=" +
                          settings.classPath + L"\r\n[Application]\r\n" +
                          settings.applicationLines + L"[Display]\r\n" + settings.displayLines);
    }

    [[nodiscard]] bool writeScript(const testjvm::Script& script) const {
        return testjvm::writeScript(runtimeHome, script);
    }

    LaunchResult launch(const LaunchOptions& options = {}) const { return app.launch(options); }

    testjvm::Record record() const {
        return testjvm::readRecord(runtimeHome).value_or(testjvm::Record{});
    }

    AppFolder app;
    std::wstring runtimeHome;
};
