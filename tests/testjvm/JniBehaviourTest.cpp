// The JNI calls the launcher makes, driven through the function table as the launcher drives
// them, against what a real VM does.
#include "RuntimeFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace testjvm;

namespace {

class Jni : public testing::Test {
  protected:
    void start(Script script = {}) {
        if (script.classes.empty())
            script.classes.push_back({L"com/example/App"});
        runtime_ = std::make_unique<LoadedRuntime>(script);
        ASSERT_TRUE(runtime_->loaded());
        // The application's jar exists, as a class is found only in a jar that opens; the
        // second element names a jar that is gone.
        createFolders(home() + L"lib");
        writeBytesFile(home() + L"lib\\app.jar", "PK");
        ASSERT_EQ(JNI_OK, runtime_->create({{"-Djava.class.path=" + toAnsi(home()) +
                                             "lib\\app.jar;" + toAnsi(goneJar()) + ";"}}));
        env = runtime_->env;
    }

    Record record() const { return runtime_->record(); }
    const std::wstring& home() const { return runtime_->home(); }
    std::wstring goneJar() const { return home() + L"gone\\lib\\other.jar"; }

    // The main method of com/example/App called with these arguments.
    void callMain(const std::vector<std::wstring>& arguments) {
        jclass app = env->FindClass("com/example/App");
        ASSERT_TRUE(app);
        jmethodID main = env->GetStaticMethodID(app, "main", "([Ljava/lang/String;)V");
        ASSERT_TRUE(main);
        env->CallStaticVoidMethod(app, main, stringArray(env, arguments));
    }

    jobject newObject(const char* className, const char* signature, jobject argument = nullptr) {
        jclass cls = env->FindClass(className);
        jmethodID constructor = env->GetMethodID(cls, "<init>", signature);
        return argument ? env->NewObject(cls, constructor, argument)
                        : env->NewObject(cls, constructor);
    }

    void redirect(const char* setter, const std::wstring& path) {
        jobject file =
            newObject("java/io/FileOutputStream", "(Ljava/lang/String;)V", javaString(env, path));
        ASSERT_TRUE(file) << narrow(pendingExceptionClass(env));
        jobject print = newObject("java/io/PrintStream", "(Ljava/io/OutputStream;)V", file);
        jclass system = env->FindClass("java/lang/System");
        env->CallStaticVoidMethod(
            system, env->GetStaticMethodID(system, setter, "(Ljava/io/PrintStream;)V"), print);
        ASSERT_FALSE(env->ExceptionCheck());
    }

    std::wstring stackTrace(jthrowable exception) {
        jobject bytes = newObject("java/io/ByteArrayOutputStream", "()V");
        jobject print = newObject("java/io/PrintStream", "(Ljava/io/OutputStream;)V", bytes);
        env->CallVoidMethod(exception,
                            env->GetMethodID(env->GetObjectClass(exception), "printStackTrace",
                                             "(Ljava/io/PrintStream;)V"),
                            print);
        jmethodID toString =
            env->GetMethodID(env->GetObjectClass(bytes), "toString", "()Ljava/lang/String;");
        auto text = static_cast<jstring>(env->CallObjectMethod(bytes, toString));
        const char* utf = env->GetStringUTFChars(text, nullptr);
        const std::wstring result = fromModifiedUtf8Text(utf);
        env->ReleaseStringUTFChars(text, utf);
        return result;
    }

    static std::wstring fromModifiedUtf8Text(const char* utf);

    JNIEnv* env = nullptr;
    std::unique_ptr<LoadedRuntime> runtime_;
    TempFolder scratch_;
};

std::wstring Jni::fromModifiedUtf8Text(const char* utf) {
    return fromModifiedUtf8(utf);
}

struct ClassCase {
    const char* name;
    bool found;
};

TEST_F(Jni, FindClassTakesSlashNamesOnly) {
    start();
    const ClassCase cases[] = {
        {"com/example/App", true},     {"com.example.App", false},
        {"java/lang/String", true},    {"java.lang.String", false},
        {"java/io/PrintStream", true}, {"com/example/Missing", false},
        {"java/lang/System", true},    {"", false},
    };
    for (const ClassCase& c : cases) {
        jclass cls = env->FindClass(c.name);
        EXPECT_EQ(c.found, cls != nullptr) << c.name;
        EXPECT_EQ(c.found ? L"" : L"java.lang.NoClassDefFoundError", pendingExceptionClass(env))
            << c.name;
        env->ExceptionClear();
    }
    const Record log = record();
    ASSERT_EQ(std::size(cases), log.classesLookedUp.size());
    EXPECT_EQ(L"com.example.App", log.classesLookedUp[1]);
    EXPECT_TRUE(log.violations.empty());
}

TEST_F(Jni, AClassIsFoundOnlyWhenItsEntryIsOnTheClassPath) {
    Script script;
    script.classes.push_back({L"com/example/App", {kMainMethod}, {}, L"\\lib\\APP.jar"});
    script.classes.push_back({L"com/example/Other", {kMainMethod}, {}, L"another.jar"});
    script.classes.push_back({L"com/example/Gone", {kMainMethod}, {}, L"\\lib\\other.jar"});
    start(script);
    EXPECT_TRUE(env->FindClass("com/example/App"));
    EXPECT_FALSE(env->FindClass("com/example/Other"));
    EXPECT_EQ(L"java.lang.NoClassDefFoundError", pendingExceptionClass(env));
    env->ExceptionClear();
    // On the class path, but the jar does not open.
    EXPECT_FALSE(env->FindClass("com/example/Gone"));
    EXPECT_EQ(L"java.lang.NoClassDefFoundError", pendingExceptionClass(env));
    env->ExceptionClear();
    EXPECT_EQ(record().missingClassPathElements, std::vector<std::wstring>{goneJar()});
}

TEST_F(Jni, MissingMethodLeavesNoSuchMethodErrorPending) {
    Script script;
    script.classes.push_back({L"com/example/App", {}, {kMainMethod}}); // main not static
    start(script);
    jclass app = env->FindClass("com/example/App");
    ASSERT_TRUE(app);
    EXPECT_FALSE(env->GetStaticMethodID(app, "main", "([Ljava/lang/String;)V"));
    EXPECT_EQ(L"java.lang.NoSuchMethodError", pendingExceptionClass(env));
    env->ExceptionClear();
    EXPECT_FALSE(env->GetStaticMethodID(app, "secondaryMain", "([Ljava/lang/String;)V"));
    EXPECT_EQ(L"java.lang.NoSuchMethodError", pendingExceptionClass(env));
    env->ExceptionClear();
    EXPECT_TRUE(env->GetMethodID(app, "main", "([Ljava/lang/String;)V"));
    EXPECT_FALSE(env->ExceptionCheck());
}

// Arguments reach main as UTF-16, unchanged, whatever characters they hold.
TEST_F(Jni, MainReceivesItsArgumentsUnchanged) {
    Script script;
    script.classes.push_back({L"com/example/App"});
    script.mainActions = {Action::printOut(L"started")};
    start(script);
    const std::vector<std::wstring> arguments{L"plain",
                                              L"",
                                              L"with space",
                                              L"\"quoted\"",
                                              L"tab\there",
                                              L"line\r\nbreak",
                                              L"caf\u00e9 \u4e2d\u6587",
                                              L"\U0001F600",
                                              std::wstring(1, L'\xD800'),
                                              L"back\\slash=x"};
    callMain(arguments);
    EXPECT_FALSE(env->ExceptionCheck());
    const Record log = record();
    const auto calls = log.callsOf(L"main");
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(arguments, calls[0]->arguments);
    EXPECT_EQ(GetCurrentThreadId(), calls[0]->threadId);
    EXPECT_EQ(L"started\r\n", log.standardOutput);
}

TEST_F(Jni, FileOutputStreamEmptiesAnExistingFileAndSetOutRedirects) {
    Script script;
    script.classes.push_back({L"com/example/App"});
    script.mainActions = {Action::printOut(L"to the file \u00e9"), Action::printErr(L"to stderr")};
    start(script);
    const std::wstring path = scratch_.file(L"out.log");
    writeBytesFile(path, "text of an earlier run that is longer than the new one\r\n");
    redirect("setOut", path);
    EXPECT_EQ("", readBytesFile(path)); // emptied as soon as it is opened
    callMain({});
    EXPECT_EQ("to the file \xC3\xA9\r\n", readBytesFile(path));
    const Record log = record();
    EXPECT_EQ(L"", log.standardOutput);
    EXPECT_EQ(L"to stderr\r\n", log.standardError);
}

TEST_F(Jni, FileOutputStreamInAMissingFolderLeavesFileNotFoundExceptionPending) {
    start();
    const std::wstring path = scratch_.file(L"missing\\out.log");
    jclass file = env->FindClass("java/io/FileOutputStream");
    jobject stream = env->NewObject(file, env->GetMethodID(file, "<init>", "(Ljava/lang/String;)V"),
                                    javaString(env, path));
    EXPECT_FALSE(stream);
    jthrowable pending = env->ExceptionOccurred();
    ASSERT_TRUE(pending);
    env->ExceptionClear();
    const std::wstring text = stackTrace(pending);
    EXPECT_EQ(0u, text.find(L"java.io.FileNotFoundException: " + path + L" (")) << narrow(text);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));
}

TEST_F(Jni, SetErrRedirectsDescribedExceptions) {
    start();
    const std::wstring path = scratch_.file(L"err.log");
    redirect("setErr", path);
    env->FindClass("com/example/Missing");
    env->ExceptionDescribe();
    EXPECT_FALSE(env->ExceptionCheck());
    EXPECT_EQ("java.lang.NoClassDefFoundError: com/example/Missing\r\n"
              "Caused by: java.lang.ClassNotFoundException: com.example.Missing\r\n"
              "\tat java.lang.ClassLoader.loadClass(ClassLoader.java)\r\n"
              "\tat java.lang.ClassLoader.loadClass(ClassLoader.java)\r\n",
              readBytesFile(path));
    // The VM's own stream gets the thread prefix.
    EXPECT_EQ(L"Exception in thread \"main\" ", record().standardError);
}

TEST_F(Jni, StackTraceTextShowsTheWholeCauseChain) {
    Script script;
    script.classes.push_back({L"com/example/App"});
    script.mainActions = {Action::throwException(L"java/lang/IllegalStateException: cannot start"),
                          Action::cause(L"java/io/IOException: disk full"),
                          Action::cause(L"com/example/StorageError"),
                          Action::printOut(L"never printed")};
    start(script);
    callMain({});
    jthrowable escaped = env->ExceptionOccurred();
    ASSERT_TRUE(escaped);
    env->ExceptionClear();
    EXPECT_EQ(L"java.lang.IllegalStateException: cannot start\r\n"
              L"\tat com.example.App.main(App.java)\r\n"
              L"Caused by: java.io.IOException: disk full\r\n"
              L"\tat com.example.App.cause1(App.java)\r\n"
              L"\t... 1 more\r\n"
              L"Caused by: com.example.StorageError\r\n"
              L"\tat com.example.App.cause2(App.java)\r\n"
              L"\t... 1 more\r\n",
              stackTrace(escaped));
    EXPECT_EQ(L"", record().standardOutput);
    EXPECT_TRUE(record().violations.empty());
}

TEST_F(Jni, CallsWithAnExceptionPendingAreRecordedAsViolations) {
    start();
    env->FindClass("com/example/Missing");
    env->FindClass("java/lang/String"); // not allowed with an exception pending
    env->ExceptionOccurred();           // allowed
    env->DeleteLocalRef(nullptr);       // allowed
    env->ExceptionClear();
    const Record log = record();
    ASSERT_EQ(1u, log.violations.size());
    EXPECT_EQ(L"FindClass called with an exception pending", log.violations[0]);
}

TEST_F(Jni, ModifiedUtf8RoundTrip) {
    start();
    const std::wstring text = std::wstring(L"a\0b", 3) + L"\u00e9\U0001F600";
    jstring string = javaString(env, text);
    const char* utf = env->GetStringUTFChars(string, nullptr);
    EXPECT_EQ("a\xC0\x80"
              "b\xC3\xA9\xED\xA0\xBD\xED\xB8\x80",
              std::string(utf));
    EXPECT_EQ(static_cast<jsize>(std::string(utf).size()), env->GetStringUTFLength(string));
    EXPECT_EQ(text, stringText(env, env->NewStringUTF(utf)));
    env->ReleaseStringUTFChars(string, utf);
}

TEST_F(Jni, StringFromCharArrayAsTheLauncherBuildsIt) {
    start();
    const std::wstring text = L"com/example/App \u00e9";
    jclass stringClass = env->FindClass("java/lang/String");
    jmethodID constructor = env->GetMethodID(stringClass, "<init>", "([C)V");
    jcharArray chars = env->NewCharArray(static_cast<jsize>(text.size()));
    env->SetCharArrayRegion(chars, 0, static_cast<jsize>(text.size()),
                            reinterpret_cast<const jchar*>(text.data()));
    auto string = static_cast<jstring>(env->NewObject(stringClass, constructor, chars));
    EXPECT_EQ(text, stringText(env, string));
    env->SetCharArrayRegion(chars, 1, static_cast<jsize>(text.size()),
                            reinterpret_cast<const jchar*>(text.data()));
    EXPECT_EQ(L"java.lang.ArrayIndexOutOfBoundsException", pendingExceptionClass(env));
}

TEST_F(Jni, SecondaryMainOnAnAttachedThreadReturnsTheScriptedValue) {
    Script script;
    script.classes.push_back({L"com/example/App", {kMainMethod, kSecondaryMainInt}});
    script.secondaryMainActions = {Action::printArgs(), Action::returnValue(42)};
    start(script);
    JavaVM* vm = runtime_->vm;
    jint answer = 0;
    std::thread worker([&] {
        JNIEnv* workerEnv = nullptr;
        ASSERT_EQ(JNI_OK, vm->AttachCurrentThread(reinterpret_cast<void**>(&workerEnv), nullptr));
        EXPECT_NE(env, workerEnv);
        jclass app = workerEnv->FindClass("com/example/App");
        jmethodID secondary =
            workerEnv->GetStaticMethodID(app, "secondaryMain", "([Ljava/lang/String;)I");
        answer = workerEnv->CallStaticIntMethod(app, secondary,
                                                stringArray(workerEnv, {L"one", L"two"}));
        EXPECT_EQ(JNI_OK, vm->DetachCurrentThread());
        void* none = nullptr;
        EXPECT_EQ(JNI_EDETACHED, vm->GetEnv(&none, JNI_VERSION_1_2));
    });
    worker.join();
    EXPECT_EQ(42, answer);
    const Record log = record();
    const auto calls = log.callsOf(L"secondaryMain");
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(42, calls[0]->result.value_or(0));
    EXPECT_EQ((std::vector<std::wstring>{L"one", L"two"}), calls[0]->arguments);
    EXPECT_EQ(L"one\r\ntwo\r\n", log.standardOutput);
}

TEST_F(Jni, DetachingWithAnExceptionPendingReportsItAsUncaught) {
    Script script;
    script.classes.push_back({L"com/example/App"});
    script.mainActions = {Action::throwException(L"java.lang.RuntimeException: boom")};
    start(script);
    callMain({});
    ASSERT_TRUE(env->ExceptionCheck());
    EXPECT_EQ(JNI_OK, runtime_->vm->DetachCurrentThread());
    EXPECT_EQ(L"Exception in thread \"main\" java.lang.RuntimeException: boom\r\n"
              L"\tat com.example.App.main(App.java)\r\n",
              record().standardError);
}

} // namespace

namespace {

// Many native threads at once, each attached with its own environment, as the launcher's
// request workers are: every call runs and is recorded on its own thread.
TEST_F(Jni, ConcurrentWorkersCallSecondaryMainEachOnItsOwnThread) {
    Script script;
    script.classes.push_back({L"com/example/App", {kMainMethod, kSecondaryMainInt}});
    script.secondaryMainActions = {Action::sleep(20), Action::returnValue(5)};
    start(script);
    JavaVM* vm = runtime_->vm;
    constexpr int kWorkers = 20;
    std::vector<DWORD> threadIds(kWorkers);
    std::vector<jint> answers(kWorkers, -1);
    std::vector<std::thread> workers;
    for (int i = 0; i < kWorkers; ++i) {
        workers.emplace_back([&, i] {
            threadIds[i] = GetCurrentThreadId();
            JNIEnv* workerEnv = nullptr;
            if (vm->AttachCurrentThread(reinterpret_cast<void**>(&workerEnv), nullptr) != JNI_OK)
                return;
            jclass app = workerEnv->FindClass("com/example/App");
            jmethodID secondary =
                workerEnv->GetStaticMethodID(app, "secondaryMain", "([Ljava/lang/String;)I");
            answers[i] = workerEnv->CallStaticIntMethod(
                app, secondary, stringArray(workerEnv, {std::to_wstring(i)}));
            vm->DetachCurrentThread();
        });
    }
    for (std::thread& worker : workers)
        worker.join();
    EXPECT_EQ(answers, std::vector<jint>(kWorkers, 5));

    const Record log = record();
    const auto calls = log.callsOf(L"secondaryMain");
    ASSERT_EQ(calls.size(), static_cast<size_t>(kWorkers));
    for (const JavaCall* call : calls) {
        ASSERT_EQ(call->arguments.size(), 1u);
        const int index = std::stoi(call->arguments[0]);
        EXPECT_EQ(call->threadId, threadIds.at(index));
        EXPECT_EQ(call->result.value_or(-1), 5);
    }
    EXPECT_EQ(log.attached.size(), static_cast<size_t>(kWorkers + 1)); // and the main thread
    EXPECT_EQ(log.detached.size(), static_cast<size_t>(kWorkers));
    EXPECT_TRUE(log.violations.empty());
}

// A gate holds VM creation, or a scripted method, until its file exists; the record tells a
// test where the runtime is waiting.
TEST(Gates, HoldCreationAndScriptedMethodsUntilTheirFileExists) {
    Script script;
    script.classes.push_back({L"com/example/App"});
    script.createWaitsFor = L"create.go";
    script.mainActions = {Action::waitFor(L"main.go"), Action::printOut(L"through")};
    LoadedRuntime runtime(script);
    ASSERT_TRUE(runtime.loaded());
    const auto waitingFor = [&runtime](const wchar_t* gate) {
        for (int tries = 0; tries < 1000; ++tries) {
            const auto waiting = runtime.record().gatesWaiting;
            if (std::find(waiting.begin(), waiting.end(), gate) != waiting.end())
                return true;
            Sleep(20);
        }
        return false;
    };

    std::atomic<bool> created{false};
    std::thread creator([&] {
        ASSERT_EQ(JNI_OK, runtime.create({{"-Djava.class.path=C:\\app\\lib\\app.jar"}}));
        created = true;
        JNIEnv* env = runtime.env;
        jclass app = env->FindClass("com/example/App");
        env->CallStaticVoidMethod(app,
                                  env->GetStaticMethodID(app, "main", "([Ljava/lang/String;)V"),
                                  stringArray(env, {}));
    });
    ASSERT_TRUE(waitingFor(L"create.go"));
    EXPECT_FALSE(created);
    writeBytesFile(runtime.home() + L"create.go", "");
    ASSERT_TRUE(waitingFor(L"main.go"));
    EXPECT_TRUE(created);
    EXPECT_EQ(runtime.record().standardOutput, L"");
    writeBytesFile(runtime.home() + L"main.go", "");
    creator.join();

    const Record log = runtime.record();
    EXPECT_EQ(log.gatesPassed, (std::vector<std::wstring>{L"create.go", L"main.go"}));
    EXPECT_TRUE(log.gatesTimedOut.empty());
    EXPECT_EQ(log.standardOutput, L"through\r\n");
}

} // namespace
