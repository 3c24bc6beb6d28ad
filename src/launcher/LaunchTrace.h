// The launch trace: when the environment variable QOVA_LAUNCHER_TRACE names a file, the launcher
// appends to it one JSON object per line, as the launch happens, each decision recorded by the
// code that makes it. Without the variable every function here returns at its first line, and
// the call sites hand over only what they already hold, so a launch pays nothing for them.
// A trace that cannot be opened or written is silently not written: it never changes a launch.
#pragma once

#include "settings/SettingOrigin.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct JavaVersion;
class Launcher;
struct CandidatePick;
struct FoundJvmLibrary;
struct JavaVMOption;
struct JreCandidate;
struct RuntimeFamily;
enum class BoundsCheck;
enum class FamilyRule;

// At the process entry, before any other thread: reads the variable once and opens the file.
void openLaunchTrace();

// The launch stages, recorded by the stage driver; both return what they are given.
bool traceStage(const char* stage, bool succeeded);
int traceResult(const char* stage, int result);
// The process's exit code; `by` names who ended it ("launcher", "System.exit").
void traceExit(int code, const char* by);
void traceAbort();

// Settings.
void traceSettingsFile(const std::wstring& path, size_t embeddedSections);
void traceUserSettingsFile(const std::wstring& path, bool exists);
void traceSetting(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                  SettingOrigin origin);
void traceInstance(const Launcher& launcher);
// Where the main class comes from: "setting", "module" or "manifest".
void traceMainClass(const std::wstring& name, const char* origin);
// The jar whose manifest was read, and each VM option it adds for the chosen runtime's version
// (the "pick" line's), once that version is known.
void traceManifest(const std::wstring& jar, std::span<const std::wstring> vmOptions);

// Runtime discovery. `from` names the source: "jre-path", "private", "registry", "current",
// "current-user", "dialog".
const char* refusalOf(BoundsCheck check);
const char* refusalOf(FamilyRule rule);
void traceSearch(const char* from, bool use32BitView);
void traceFamily(const RuntimeFamily& family, FamilyRule rule);
// One registration; `verdict` is "kept" or the reason it was refused.
void traceRegisteredRuntime(const char* from, const RuntimeFamily& family, const std::wstring& name,
                            const JavaVersion& version, const char* verdict,
                            std::wstring_view home = {}, const FoundJvmLibrary* library = nullptr,
                            bool favored = false);
// A runtime folder probed on its own (configured, private, re-probed after a pick).
void traceRuntimeFolder(const char* from, const std::wstring& home, const FoundJvmLibrary& library,
                        const char* refusal = "no-jvm-library");
void traceCandidateOrder(const std::vector<JreCandidate>& ordered);
void tracePick(const CandidatePick& pick);
void traceChosenRuntime(const char* from, const Launcher& launcher);
// The machine a chosen JVM library was built for, and whether the paired launcher runs it.
void traceArchitecture(const std::wstring& jvmLibrary, std::optional<std::uint16_t> machine,
                       bool handedOver);
void traceDialog(const char* dialog, std::intptr_t result, const std::wstring& detail);
void traceRememberedRuntime(const std::wstring& settingsFile, const std::wstring& folder,
                            bool written);

// Environment, working directory and splash.
void traceEnvironment(const wchar_t* name, const std::wstring& value);
void traceWorkingDirectory(const std::wstring& folder);
void traceSplash(const char* kind, const std::wstring& image);
// The display scale a window ("splash", "missing-runtime", "exception") opened at, or moved
// to (`changed`).
void traceWindowDpi(const char* window, int dpi, bool changed);

// A service: the name the Service Control Manager started it under (empty: started from a
// prompt instead), and a stop request.
void traceService(const std::wstring& name);
void traceServiceStop(const std::wstring& stopClass, std::uint32_t timeoutMs);

// The JVM and the Java main thread.
void traceJvmLibrary(const std::wstring& path, std::uint32_t error, const char* missingExport);
void traceVmOptions(const std::vector<JavaVMOption>& options);
void traceVmCreated(int result);
void traceMainThread(size_t stackSize);
// What became of the main class and its main method: "class-not-found", "no-main-method",
// "called", "returned", "exception" and the like.
void traceMain(const std::wstring& name, const char* outcome);
void traceMainArguments(const std::vector<std::wstring>& arguments);

// The java command's syntax in the VM parameters: an option passed in another form, or one
// that ended the launch (`fault` "missing-value" or "java-command-action").
void traceOptionRewritten(const std::wstring& written, const std::wstring& passed);
void traceOptionRefused(const std::wstring& option, const char* fault);
// A minimum runtime version the settings imply beyond what they say; `why` names the cause.
void traceMinimumVersionRaised(const JavaVersion& version, const char* why);
