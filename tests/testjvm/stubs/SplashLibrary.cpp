// bin\splashscreen.dll of a test runtime home: records every call with its arguments instead of
// showing anything. Built once with all four exports, once without SplashInit
// (QOVA_SPLASH_WITHOUT_INIT), a library the launcher must not use for the splash, and once with a
// SplashInit that reports failure (QOVA_SPLASH_INIT_FAILS), whose result the launcher ignores.
#include "Record.h"
#include "RuntimeFolder.h"
#include "TextCodec.h"

#include <memory>
#include <mutex>

namespace {

void record(const std::string& lines) {
    static std::mutex lock;
    static std::unique_ptr<testjvm::RecordAppender> appender;
    std::lock_guard guard(lock);
    if (!appender) {
        const std::wstring folder = testjvm::findScriptFolder(
            testjvm::moduleFolderOf(reinterpret_cast<const void*>(&record)));
        if (folder.empty())
            return;
        appender =
            std::make_unique<testjvm::RecordAppender>(folder + L"\\" + testjvm::kRecordFileName);
    }
    appender->append(lines);
}

std::string bytesValue(const char* bytes) {
    return bytes ? testjvm::escapeValue(bytes, true) : std::string("\\x00null");
}

} // namespace

#if defined(QOVA_SPLASH_INIT_FAILS)
extern "C" __declspec(dllexport) int SplashInit() {
    record(testjvm::recordLine(testjvm::key::kSplashInit, "failed"));
    return 0;
}
#elif !defined(QOVA_SPLASH_WITHOUT_INIT)
extern "C" __declspec(dllexport) void SplashInit() {
    record(testjvm::recordLine(testjvm::key::kSplashInit, ""));
}
#endif

// 1 when the image file exists, as the runtime's library reports whether it could read it.
extern "C" __declspec(dllexport) int SplashLoadFile(const char* fileName) {
    record(testjvm::recordLine(testjvm::key::kSplashLoadFile, bytesValue(fileName)));
    return fileName && GetFileAttributesA(fileName) != INVALID_FILE_ATTRIBUTES ? 1 : 0;
}

extern "C" __declspec(dllexport) void SplashSetFileJarName(const char* fileName,
                                                           const char* jarName) {
    record(testjvm::recordLine(testjvm::key::kSplashSetFileJarName, bytesValue(fileName)) +
           testjvm::recordLine(testjvm::key::kSplashJarName, bytesValue(jarName)));
}

extern "C" __declspec(dllexport) void SplashClose() {
    record(testjvm::recordLine(testjvm::key::kSplashClose, ""));
}
