#include "Record.h"
#include "TextCodec.h"
#include "Vm.h"

#include <cstdio>
#include <set>

namespace testjvm {

namespace {

Object* registered(Object* object) {
    Vm& vm = Vm::instance();
    std::lock_guard guard(vm.lock);
    vm.objects.insert(object);
    return object;
}

ObjectKind kindOf(const ClassInfo* cls) {
    for (; cls; cls = cls->super)
        if (cls->instanceKind != ObjectKind::Plain)
            return cls->instanceKind;
    return ObjectKind::Plain;
}

} // namespace

char Method::returnCode() const {
    const size_t close = descriptor.rfind(')');
    if (close == std::string::npos || close + 1 >= descriptor.size())
        return '?';
    const char code = descriptor[close + 1];
    return code == '[' ? 'L' : code;
}

std::string Method::parameterCodes() const {
    std::string codes;
    for (size_t i = 1; i < descriptor.size() && descriptor[i] != ')'; ++i) {
        size_t start = i;
        while (descriptor[i] == '[')
            ++i;
        if (descriptor[i] == 'L')
            i = descriptor.find(';', i);
        if (i == std::string::npos)
            break;
        codes += descriptor[start] == '[' ? 'L' : descriptor[start];
    }
    return codes;
}

std::string Method::display() const {
    return dotted(owner->name) + "." + name + descriptor;
}

std::string dotted(std::string_view slashName) {
    std::string name(slashName);
    for (char& c : name)
        if (c == '/')
            c = '.';
    return name;
}

jobject handle(Object* object) {
    return reinterpret_cast<jobject>(object);
}

Object* checked(jobject ref, const char* function) {
    if (!ref)
        return nullptr;
    Object* object = reinterpret_cast<Object*>(ref);
    Vm& vm = Vm::instance();
    std::lock_guard guard(vm.lock);
    if (!vm.objects.contains(object))
        fatal(std::string(function) + ": not a valid object reference");
    return object;
}

Object* required(jobject ref, const char* function) {
    if (!ref)
        fatal(std::string(function) + ": null object reference");
    return checked(ref, function);
}

ClassInfo* classOf(jclass ref, const char* function) {
    Object* object = required(ref, function);
    if (object->kind != ObjectKind::Class)
        fatal(std::string(function) + ": the reference is not a class");
    return object->classValue;
}

Method* methodOf(jmethodID id, const char* function) {
    Method* method = reinterpret_cast<Method*>(id);
    Vm& vm = Vm::instance();
    std::lock_guard guard(vm.lock);
    if (!method || !vm.methods.contains(method))
        fatal(std::string(function) + ": not a valid method ID");
    return method;
}

ClassInfo* lookUpClass(const std::string& name) {
    Vm& vm = Vm::instance();
    std::lock_guard guard(vm.lock);
    const auto found = vm.classes.find(name);
    return found == vm.classes.end() ? nullptr : found->second.get();
}

ClassInfo* arrayClassOf(ClassInfo* component) {
    const std::string name =
        component->name.starts_with("[") ? "[" + component->name : "[L" + component->name + ";";
    Vm& vm = Vm::instance();
    std::lock_guard guard(vm.lock);
    if (ClassInfo* existing = lookUpClass(name))
        return existing;
    auto cls = std::make_unique<ClassInfo>();
    cls->name = name;
    cls->super = lookUpClass("java/lang/Object");
    cls->instanceKind = ObjectKind::ObjectArray;
    ClassInfo* result = cls.get();
    vm.classes.emplace(name, std::move(cls));
    result->mirror = newObject(lookUpClass("java/lang/Class"));
    result->mirror->kind = ObjectKind::Class;
    result->mirror->classValue = result;
    return result;
}

bool isSubclass(const ClassInfo* cls, const ClassInfo* ancestor) {
    for (; cls; cls = cls->super)
        if (cls == ancestor)
            return true;
    return false;
}

Method* findMethod(ClassInfo* cls, std::string_view name, std::string_view descriptor,
                   bool isStatic) {
    // Constructors belong to their own class only; other methods are found on superclasses too.
    const bool constructor = name == "<init>";
    for (ClassInfo* current = cls; current; current = constructor ? nullptr : current->super)
        for (const auto& method : current->methods)
            if (method->name == name && method->descriptor == descriptor &&
                method->isStatic == isStatic)
                return method.get();
    return nullptr;
}

Object* newObject(ClassInfo* cls) {
    auto* object = new Object;
    object->cls = cls;
    object->kind = kindOf(cls);
    return registered(object);
}

Object* newString(std::wstring text) {
    Object* string = newObject(lookUpClass("java/lang/String"));
    string->chars = std::move(text);
    return string;
}

Object* newThrowable(const std::string& className, std::optional<std::wstring> message,
                     std::vector<std::wstring> frames) {
    ClassInfo* cls = lookUpClass(className);
    if (!cls || cls->instanceKind != ObjectKind::Throwable) {
        Vm& vm = Vm::instance();
        std::lock_guard guard(vm.lock);
        cls = lookUpClass(className);
        if (!cls) {
            // A scripted exception class the runtime does not know: an unchecked exception.
            auto created = std::make_unique<ClassInfo>();
            created->name = className;
            created->super = lookUpClass(
                className.ends_with("Error") ? "java/lang/Error" : "java/lang/RuntimeException");
            cls = created.get();
            vm.classes.emplace(className, std::move(created));
            cls->mirror = newObject(lookUpClass("java/lang/Class"));
            cls->mirror->kind = ObjectKind::Class;
            cls->mirror->classValue = cls;
        }
    }
    Object* throwable = newObject(cls);
    if (throwable->kind != ObjectKind::Throwable)
        fatal("not a Throwable class: " + className);
    if (message)
        throwable->message = newString(*message);
    throwable->frames = std::move(frames);
    return throwable;
}

void throwNew(JavaThread& thread, const std::string& className,
              std::optional<std::wstring> message) {
    thread.pending = newThrowable(className, std::move(message));
}

std::wstring throwableText(Object* throwable) {
    std::wstring text = fromModifiedUtf8(dotted(throwable->cls->name));
    if (throwable->message)
        text += L": " + throwable->message->chars;
    return text;
}

// The layout of printStackTrace: the throwable, its frames, then each cause with the frames
// it shares with the throwable it caused folded into "... n more".
std::wstring stackTraceText(Object* throwable) {
    std::wstring text = throwableText(throwable) + kLineSeparator;
    for (const std::wstring& frame : throwable->frames)
        text += L"\tat " + frame + kLineSeparator;
    std::set<const Object*> seen{throwable};
    const std::vector<std::wstring>* enclosing = &throwable->frames;
    for (Object* cause = throwable->cause; cause; cause = cause->cause) {
        if (!seen.insert(cause).second) {
            text += L"\t[CIRCULAR REFERENCE: " + throwableText(cause) + L"]" + kLineSeparator;
            break;
        }
        const auto& frames = cause->frames;
        long long own = static_cast<long long>(frames.size()) - 1;
        long long other = static_cast<long long>(enclosing->size()) - 1;
        while (own >= 0 && other >= 0 && frames[own] == (*enclosing)[other]) {
            --own;
            --other;
        }
        const size_t common = frames.size() - static_cast<size_t>(own + 1);
        text += L"Caused by: " + throwableText(cause) + kLineSeparator;
        for (long long i = 0; i <= own; ++i)
            text += L"\tat " + frames[i] + kLineSeparator;
        if (common != 0)
            text += L"\t... " + std::to_wstring(common) + L" more" + kLineSeparator;
        enclosing = &frames;
    }
    return text;
}

void writeStandardHandle(int stream, std::wstring_view text) {
    const std::string bytes = toUtf8(text);
    // A windowed process usually has no standard handles; the record still gets the text.
    HANDLE target = GetStdHandle(stream == 1 ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (target && target != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(target, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    Vm::instance().recordText(stream == 1 ? key::kStdout : key::kStderr, text);
}

void writeBytes(JavaThread& thread, Object* stream, const std::string& bytes) {
    if (!stream) {
        throwNew(thread, "java/lang/NullPointerException", std::nullopt);
        return;
    }
    switch (stream->kind) {
    case ObjectKind::FileStream:
        if (stream->standardStream != 0) {
            writeStandardHandle(stream->standardStream, fromUtf8(bytes));
        } else if (stream->file == INVALID_HANDLE_VALUE) {
            throwNew(thread, "java/io/IOException", L"Stream Closed");
        } else {
            DWORD written = 0;
            if (!WriteFile(stream->file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                           nullptr))
                throwNew(thread, "java/io/IOException", L"Write error");
        }
        break;
    case ObjectKind::ByteStream:
        stream->bytes += bytes;
        break;
    case ObjectKind::PrintStream: {
        // A PrintStream never throws for a failed write; it only remembers the trouble.
        Object* previous = thread.pending;
        writeBytes(thread, stream->target, bytes);
        thread.pending = previous;
        break;
    }
    default:
        fatal("write to an object that is not an OutputStream: " + stream->cls->name);
    }
}

void printLine(JavaThread& thread, Object* printStream, std::wstring_view text) {
    if (!printStream) {
        throwNew(thread, "java/lang/NullPointerException", std::nullopt);
        return;
    }
    writeBytes(thread, printStream, toUtf8(std::wstring(text) + kLineSeparator));
}

// ExceptionDescribe prints "Exception in thread ..." on the VM's own error stream and the
// trace through System.err; an exception still pending when its thread detaches goes to the
// uncaught-exception handler, which prints both through System.err.
void describeException(JavaThread& thread, bool uncaught) {
    Object* throwable = thread.pending;
    if (!throwable)
        return;
    thread.pending = nullptr;
    Object* err = nullptr;
    {
        Vm& vm = Vm::instance();
        std::lock_guard guard(vm.lock);
        err = vm.systemErr;
    }
    const std::wstring prefix = L"Exception in thread \"" + thread.name + L"\" ";
    if (uncaught) {
        if (err)
            writeBytes(thread, err, toUtf8(prefix + stackTraceText(throwable)));
    } else {
        writeStandardHandle(2, prefix);
        if (err)
            writeBytes(thread, err, toUtf8(stackTraceText(throwable)));
    }
    thread.pending = nullptr;
}

jvalue invokeMethod(JavaThread& thread, Method* method, Object* self,
                    const std::vector<jvalue>& args) {
    if (!method->code)
        fatal("no code for " + method->display());
    return method->code(thread, self, args);
}

void systemExit(jint status) {
    Vm& vm = Vm::instance();
    vm.recordNumber(key::kExit, status);
    runShutdownHooks();
    if (vm.exitHook) {
        vm.recordNumber(key::kExitHook, status);
        vm.exitHook(status);
        vm.recordNumber(key::kExitHookReturned, status);
    }
    ExitProcess(static_cast<UINT>(status));
}

void vmAbort(unsigned exitCode) {
    Vm& vm = Vm::instance();
    vm.record(key::kAbort, "");
    if (vm.abortHook) {
        vm.record(key::kAbortHook, "");
        vm.abortHook();
    }
    TerminateProcess(GetCurrentProcess(), exitCode);
    for (;;)
        Sleep(INFINITE);
}

} // namespace testjvm
