// The cases of the launcher's conversation with the VM, run against HotSpot on Linux
// (tests/hotspot) and against the stand-in runtime under Wine (tests/e2e/VmCasesTest.cpp): the
// settings of a launch, what the program does once main has returned, and what must come of it.
// Where the two runtimes differ, the stand-in is wrong.
//
// Both tiers lay out the same application, beside the launcher (or the test host):
//   lib\app.jar, on the class path; its manifest names app.Main. Its classes:
//     app.Main            records "main" with its arguments and returns; its secondaryMain
//                         records "secondaryMain" with its arguments
//     app.Exit            System.exit(3)
//     app.ExitFromThread  System.exit(5) from a thread it starts, while main waits
//     app.Worker          starts a non-daemon thread that ends 300 ms after main has returned
//     app.Fails           throws IllegalStateException("boom")
//     app.Hooked          registers a shutdown hook that records "hook", and returns
//     app.Server          registers that hook too and serves on a non-daemon thread until its
//                         stop(String[]) records "stop" with its arguments
//     app.Viewer          a JavaFX Application without main: start records its arguments and
//                         calls Platform.exit()
//   mods\, the module path: module appmod, whose descriptor names appmod.Main; appmod.Other
//     beside it; both record "main" as app.Main does
//   lib\javafx\, the JavaFX modules (javafx.base, javafx.graphics, javafx.controls)
// Each tier judges what its Java side recorded: the HotSpot classes write a record file, the
// stand-in records the calls it was scripted for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vmcases {

// What the program does on a thread of its own, attached to the VM, once main has returned: a
// forwarded single-instance request, or a service's stop with or without a stop method.
enum class After {
    nothing,
    secondaryMain, // secondaryMain of the main class with {"second"}
    systemExit,    // System.exit(0)
    stopMethod,    // app.Server.stop with {"now", "two words"}
};

inline constexpr std::uint32_t kLaunchFailed = 4294967295u;
// The environment variable that a case's `optionVariable` is set in.
inline constexpr wchar_t kOptionVariable[] = L"QOVA_CASE_OPTION";
// The launcher's message for a VM that was not created, with the reason for JNI_ERR (string
// 225) and for JNI_EINVAL (230).
inline constexpr wchar_t kCreationFailed[] =
    L"JNI exception: failed to create the Java VM\nReason: unknown.\n";
inline constexpr wchar_t kCreationRefusedArguments[] =
    L"JNI exception: failed to create the Java VM\nReason: invalid arguments.\n";

struct VmCase {
    const char* name;
    // The settings and the command line.
    std::wstring mainClass = L"app.Main"; // "Main Class"
    std::wstring mainModule = L"";        // "Main Module"; "Module Path" is \mods with it
    bool mainJar = false;                 // "Main Jar" is \lib\app.jar
    std::wstring vmParameters = L"";      // "Virtual Machine Parameters"
    std::wstring optionVariable = L"";    // the value of kOptionVariable, when not empty
    std::vector<std::wstring> arguments = {};
    After after = After::nothing;
    // What must come of it. `started` is "Class.main" or, for a JavaFX application,
    // "Class.start"; empty when nothing was started.
    bool created = true;
    std::wstring started = L"app.Main.main";
    std::vector<std::wstring> received = {}; // what main (or start) was given
    std::uint32_t exitCode = 0;
    bool exitHook = false;              // the VM's exit hook saw the exit code
    std::wstring standardError = L"";   // in what the VM printed on standard error
    unsigned messageId = 0;             // the launcher's message, string-table id...
    std::wstring message = L"";         // ...and its text
    std::vector<std::wstring> secondaryArguments = {}; // what secondaryMain was given
    std::vector<std::wstring> stopArguments = {};      // what the stop method was given
    bool outlivesMain = false;          // a non-daemon thread ended after main, before the end
    bool hookRan = false;               // the shutdown hook ran
};

inline const std::vector<VmCase> kVmCases = {
    {.name = "main-with-arguments",
     .arguments = {L"one", L"two words", L""},
     .received = {L"one", L"two words", L""}},
    // The launcher joins the two words of an option it knows into the one the VM takes.
    {.name = "two-word-option-joined", .vmParameters = L"--add-modules java.sql"},
    {.name = "one-word-option", .vmParameters = L"--enable-native-access=ALL-UNNAMED"},
    // A variable is expanded after the two words are joined: the option and its value reach the
    // VM apart, as a launcher that did not join them would pass them.
    {.name = "two-words-apart",
     .vmParameters = L"%QOVA_CASE_OPTION% java.sql",
     .optionVariable = L"--add-modules",
     .created = false,
     .started = L"",
     .exitCode = kLaunchFailed,
     .standardError = L"Unrecognized option: --add-modules",
     .messageId = 203,
     .message = kCreationFailed},
    {.name = "unknown-option",
     .vmParameters = L"--qova-no-such-option",
     .created = false,
     .started = L"",
     .exitCode = kLaunchFailed,
     .standardError = L"Unrecognized option: --qova-no-such-option",
     .messageId = 203,
     .message = kCreationFailed},
    {.name = "unknown-vm-flag",
     .vmParameters = L"-XX:+QovaNoSuchFlag",
     .created = false,
     .started = L"",
     .exitCode = kLaunchFailed,
     .standardError = L"Unrecognized VM option 'QovaNoSuchFlag'",
     .messageId = 203,
     .message = kCreationRefusedArguments},
    {.name = "exit-from-main",
     .mainClass = L"app.Exit",
     .started = L"app.Exit.main",
     .exitCode = 3,
     .exitHook = true},
    {.name = "exit-from-another-thread",
     .mainClass = L"app.ExitFromThread",
     .started = L"app.ExitFromThread.main",
     .exitCode = 5,
     .exitHook = true},
    {.name = "thread-outlives-main",
     .mainClass = L"app.Worker",
     .started = L"app.Worker.main",
     .outlivesMain = true},
    {.name = "uncaught-exception",
     .mainClass = L"app.Fails",
     .started = L"app.Fails.main",
     .standardError = L"java.lang.IllegalStateException: boom"},
    {.name = "class-not-found",
     .mainClass = L"app.Missing",
     .started = L"",
     .exitCode = kLaunchFailed,
     .standardError = L"java.lang.NoClassDefFoundError: app/Missing",
     .messageId = 215,
     .message = L"Could not find the main class app/Missing.\n"},
    {.name = "module-declares-main",
     .mainClass = L"",
     .mainModule = L"appmod",
     .arguments = {L"m"},
     .started = L"appmod.Main.main",
     .received = {L"m"}},
    {.name = "module-with-class",
     .mainClass = L"",
     .mainModule = L"appmod/appmod.Other",
     .started = L"appmod.Other.main"},
    // The VM aborts while it is being created; to the user that is a VM that could not be.
    {.name = "module-not-found",
     .mainClass = L"",
     .mainModule = L"ghost",
     .created = false,
     .started = L"",
     .exitCode = kLaunchFailed,
     .standardError = L"Module ghost not found",
     .messageId = 203,
     .message = kCreationFailed},
    {.name = "manifest-main-class",
     .mainClass = L"",
     .mainJar = true,
     .arguments = {L"jar"},
     .received = {L"jar"}},
    {.name = "javafx-application",
     .mainClass = L"app.Viewer",
     .vmParameters = L"--module-path \\lib\\javafx --add-modules javafx.controls",
     .arguments = {L"--scene=main"},
     .started = L"app.Viewer.start",
     .received = {L"--scene=main"}},
    {.name = "secondary-main-on-attached-thread",
     .after = After::secondaryMain,
     .secondaryArguments = {L"second"}},
    {.name = "system-exit-on-attached-thread",
     .mainClass = L"app.Hooked",
     .after = After::systemExit,
     .started = L"app.Hooked.main",
     .exitHook = true,
     .hookRan = true},
    // The stop method ends the server's thread: the VM's destruction returns, the hook runs.
    {.name = "stop-method-on-attached-thread",
     .mainClass = L"app.Server",
     .after = After::stopMethod,
     .started = L"app.Server.main",
     .stopArguments = {L"now", L"two words"},
     .hookRan = true},
};

} // namespace vmcases
