// A test runtime laid out in a fresh folder, scripted and loaded into the test process. Each one
// is a separate copy of jvm.dll, so each test gets a VM of its own.
#pragma once

#include "TestFiles.h"
#include "TestRuntime.h"
#include "TextCodec.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace testjvm {

struct VmOption {
    std::string text;
    void* extraInfo = nullptr;
};

class LoadedRuntime {
  public:
    explicit LoadedRuntime(const Script& script, const RuntimeLayout& layout = {});

    const std::wstring& home() const { return home_; }
    bool loaded() const { return module_ != nullptr; }
    template <typename Function> Function entry(const char* name) const {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

    // JNI_CreateJavaVM with these options; vm and env are set on success.
    jint create(const std::vector<VmOption>& options, jint version = JNI_VERSION_1_2,
                bool ignoreUnrecognized = false);
    Record record() const;

    JavaVM* vm = nullptr;
    JNIEnv* env = nullptr;

  private:
    TempFolder folder_;
    std::wstring home_;
    HMODULE module_ = nullptr; // stays loaded: its threads may outlive the test
};

jstring javaString(JNIEnv* env, const std::wstring& text);
jobjectArray stringArray(JNIEnv* env, const std::vector<std::wstring>& texts);
std::wstring stringText(JNIEnv* env, jstring string);
// The class name of the pending exception, or empty.
std::wstring pendingExceptionClass(JNIEnv* env);

// Runs a program with its standard output and error in files; returns the exit code.
struct ProcessResult {
    DWORD exitCode = 0;
    std::string standardOutput;
    std::string standardError;
};
ProcessResult runProcess(const std::wstring& commandLine, const std::wstring& scratchFolder);

} // namespace testjvm
