// The classes the runtime knows besides the scripted ones: what the launcher reaches through
// JNI (String, System, the output streams, Throwable and the exceptions a VM throws) with the
// members it may call, each behaving as the Java library does.
#include "ClassBuilder.h"
#include "TextCodec.h"
#include "Vm.h"

namespace testjvm {

namespace {

// The system's text for an error code, as Java puts it in parentheses after a file name.
std::wstring systemMessage(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : L"error " + std::to_wstring(error);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' ||
                             text.back() == L'.'))
        text.pop_back();
    return text;
}

std::wstring javaToString(Object* object) {
    if (!object)
        return L"null";
    switch (object->kind) {
    case ObjectKind::String:
        return object->chars;
    case ObjectKind::Throwable:
        return throwableText(object);
    case ObjectKind::ByteStream:
        return fromUtf8(object->bytes);
    case ObjectKind::Class:
        return L"class " + fromModifiedUtf8(dotted(object->classValue->name));
    default: {
        wchar_t hash[16];
        swprintf(hash, 16, L"%x", static_cast<unsigned>(reinterpret_cast<uintptr_t>(object) >> 4));
        return fromModifiedUtf8(dotted(object->cls->name)) + L"@" + hash;
    }
    }
}

void defineLangClasses(ClassBuilder& b) {
    ClassInfo* object = b.define("java/lang/Object", nullptr);
    b.instance(object, "<init>", "()V", [](JavaThread&, Object*, const Args&) { return none(); });
    b.instance(object, "toString", "()Ljava/lang/String;",
               [](JavaThread&, Object* self, const Args&) {
                   return objectValue(newString(javaToString(self)));
               });
    b.instance(object, "hashCode", "()I", [](JavaThread&, Object* self, const Args&) {
        return intValue(static_cast<jint>(reinterpret_cast<uintptr_t>(self) >> 4));
    });
    b.instance(object, "equals", "(Ljava/lang/Object;)Z",
               [](JavaThread&, Object* self, const Args& args) {
                   return booleanValue(argument(args, 0) == self);
               });
    b.instance(
        object, "getClass", "()Ljava/lang/Class;",
        [](JavaThread&, Object* self, const Args&) { return objectValue(self->cls->mirror); });

    ClassInfo* classClass = b.define("java/lang/Class", "java/lang/Object", ObjectKind::Class);
    b.instance(classClass, "getName", "()Ljava/lang/String;",
               [](JavaThread&, Object* self, const Args&) {
                   return objectValue(newString(fromModifiedUtf8(dotted(self->classValue->name))));
               });

    ClassInfo* string = b.define("java/lang/String", "java/lang/Object", ObjectKind::String);
    b.instance(string, "<init>", "()V", [](JavaThread&, Object*, const Args&) { return none(); });
    b.instance(string, "<init>", "([C)V", [](JavaThread& t, Object* self, const Args& args) {
        Object* chars = argument(args, 0);
        if (!chars)
            throwNew(t, "java/lang/NullPointerException", std::nullopt);
        else if (chars->kind != ObjectKind::CharArray)
            fatal("String(char[]) given an object that is not a char[]");
        else
            self->chars = chars->chars;
        return none();
    });
    b.instance(string, "<init>", "(Ljava/lang/String;)V",
               [](JavaThread& t, Object* self, const Args& args) {
                   Object* original = argument(args, 0);
                   if (!original)
                       throwNew(t, "java/lang/NullPointerException", std::nullopt);
                   else
                       self->chars = original->chars;
                   return none();
               });
    b.instance(string, "length", "()I", [](JavaThread&, Object* self, const Args&) {
        return intValue(static_cast<jint>(self->chars.size()));
    });
    b.instance(string, "isEmpty", "()Z", [](JavaThread&, Object* self, const Args&) {
        return booleanValue(self->chars.empty());
    });
    b.instance(string, "toString", "()Ljava/lang/String;",
               [](JavaThread&, Object* self, const Args&) { return objectValue(self); });
    b.instance(string, "equals", "(Ljava/lang/Object;)Z",
               [](JavaThread&, Object* self, const Args& args) {
                   Object* other = argument(args, 0);
                   return booleanValue(other && other->kind == ObjectKind::String &&
                                       other->chars == self->chars);
               });

    b.define("[C", "java/lang/Object", ObjectKind::CharArray);

    ClassInfo* system = b.define("java/lang/System", "java/lang/Object");
    const auto setStream = [](Object* Vm::*field) {
        return [field](JavaThread&, Object*, const Args& args) {
            Object* stream = argument(args, 0);
            if (stream && stream->kind != ObjectKind::PrintStream)
                fatal("System.setOut/setErr given an object that is not a PrintStream");
            Vm& vm = Vm::instance();
            std::lock_guard guard(vm.lock);
            vm.*field = stream;
            return none();
        };
    };
    b.statics(system, "setOut", "(Ljava/io/PrintStream;)V", setStream(&Vm::systemOut));
    b.statics(system, "setErr", "(Ljava/io/PrintStream;)V", setStream(&Vm::systemErr));
    b.statics(system, "exit", "(I)V",
              [](JavaThread&, Object*, const Args& args) -> jvalue { systemExit(args.at(0).i); });
    b.statics(system, "getProperty", "(Ljava/lang/String;)Ljava/lang/String;",
              [](JavaThread& t, Object*, const Args& args) {
                  Object* name = argument(args, 0);
                  if (!name) {
                      throwNew(t, "java/lang/NullPointerException", L"key can't be null");
                      return none();
                  }
                  if (name->chars.empty()) {
                      throwNew(t, "java/lang/IllegalArgumentException", L"key can't be empty");
                      return none();
                  }
                  Vm& vm = Vm::instance();
                  std::lock_guard guard(vm.lock);
                  const auto found = vm.properties.find(name->chars);
                  return found == vm.properties.end() ? none()
                                                      : objectValue(newString(found->second));
              });
    b.statics(
        system, "lineSeparator", "()Ljava/lang/String;",
        [](JavaThread&, Object*, const Args&) { return objectValue(newString(kLineSeparator)); });
}

void defineThrowables(ClassBuilder& b) {
    ClassInfo* throwable =
        b.define("java/lang/Throwable", "java/lang/Object", ObjectKind::Throwable);
    b.instance(throwable, "getMessage", "()Ljava/lang/String;",
               [](JavaThread&, Object* self, const Args&) { return objectValue(self->message); });
    b.instance(throwable, "getLocalizedMessage", "()Ljava/lang/String;",
               [](JavaThread&, Object* self, const Args&) { return objectValue(self->message); });
    b.instance(throwable, "getCause", "()Ljava/lang/Throwable;",
               [](JavaThread&, Object* self, const Args&) { return objectValue(self->cause); });
    b.instance(throwable, "toString", "()Ljava/lang/String;",
               [](JavaThread&, Object* self, const Args&) {
                   return objectValue(newString(throwableText(self)));
               });
    b.instance(throwable, "printStackTrace", "()V", [](JavaThread& t, Object* self, const Args&) {
        Object* err = nullptr;
        {
            Vm& vm = Vm::instance();
            std::lock_guard guard(vm.lock);
            err = vm.systemErr;
        }
        writeBytes(t, err, toUtf8(stackTraceText(self)));
        return none();
    });
    b.instance(throwable, "printStackTrace", "(Ljava/io/PrintStream;)V",
               [](JavaThread& t, Object* self, const Args& args) {
                   Object* stream = argument(args, 0);
                   if (stream && stream->kind != ObjectKind::PrintStream)
                       fatal("printStackTrace given an object that is not a PrintStream");
                   writeBytes(t, stream, toUtf8(stackTraceText(self)));
                   return none();
               });

    const std::pair<const char*, const char*> hierarchy[] = {
        {"java/lang/Exception", "java/lang/Throwable"},
        {"java/lang/Error", "java/lang/Throwable"},
        {"java/lang/RuntimeException", "java/lang/Exception"},
        {"java/lang/ReflectiveOperationException", "java/lang/Exception"},
        {"java/lang/ClassNotFoundException", "java/lang/ReflectiveOperationException"},
        {"java/lang/InstantiationException", "java/lang/ReflectiveOperationException"},
        {"java/lang/LinkageError", "java/lang/Error"},
        {"java/lang/NoClassDefFoundError", "java/lang/LinkageError"},
        {"java/lang/IncompatibleClassChangeError", "java/lang/LinkageError"},
        {"java/lang/NoSuchMethodError", "java/lang/IncompatibleClassChangeError"},
        {"java/lang/NoSuchFieldError", "java/lang/IncompatibleClassChangeError"},
        {"java/lang/VirtualMachineError", "java/lang/Error"},
        {"java/lang/OutOfMemoryError", "java/lang/VirtualMachineError"},
        {"java/lang/NullPointerException", "java/lang/RuntimeException"},
        {"java/lang/IllegalArgumentException", "java/lang/RuntimeException"},
        {"java/lang/IllegalStateException", "java/lang/RuntimeException"},
        {"java/lang/IndexOutOfBoundsException", "java/lang/RuntimeException"},
        {"java/lang/ArrayIndexOutOfBoundsException", "java/lang/IndexOutOfBoundsException"},
        {"java/lang/StringIndexOutOfBoundsException", "java/lang/IndexOutOfBoundsException"},
        {"java/lang/ArrayStoreException", "java/lang/RuntimeException"},
        {"java/lang/NegativeArraySizeException", "java/lang/RuntimeException"},
        {"java/lang/UnsupportedOperationException", "java/lang/RuntimeException"},
        {"java/util/NoSuchElementException", "java/lang/RuntimeException"},
        {"java/lang/SecurityException", "java/lang/RuntimeException"},
        {"java/io/IOException", "java/lang/Exception"},
        {"java/io/FileNotFoundException", "java/io/IOException"},
        {"java/io/UnsupportedEncodingException", "java/io/IOException"},
    };
    std::vector<ClassInfo*> all{throwable};
    for (const auto& [name, super] : hierarchy)
        all.push_back(b.define(name, super));
    // Constructors are not inherited in Java, so each class declares the usual four.
    for (ClassInfo* cls : all) {
        b.instance(cls, "<init>", "()V", [](JavaThread&, Object*, const Args&) { return none(); });
        b.instance(cls, "<init>", "(Ljava/lang/String;)V",
                   [](JavaThread&, Object* self, const Args& args) {
                       self->message = argument(args, 0);
                       return none();
                   });
        b.instance(cls, "<init>", "(Ljava/lang/String;Ljava/lang/Throwable;)V",
                   [](JavaThread&, Object* self, const Args& args) {
                       self->message = argument(args, 0);
                       self->cause = argument(args, 1);
                       return none();
                   });
        b.instance(cls, "<init>", "(Ljava/lang/Throwable;)V",
                   [](JavaThread&, Object* self, const Args& args) {
                       self->cause = argument(args, 0);
                       if (self->cause)
                           self->message = newString(throwableText(self->cause));
                       return none();
                   });
    }
}

void defineStreams(ClassBuilder& b) {
    ClassInfo* output =
        b.define("java/io/OutputStream", "java/lang/Object", ObjectKind::Plain, true);
    b.instance(output, "write", "(I)V", [](JavaThread& t, Object* self, const Args& args) {
        writeBytes(t, self, std::string(1, static_cast<char>(args.at(0).i)));
        return none();
    });
    b.instance(output, "flush", "()V", [](JavaThread&, Object*, const Args&) { return none(); });
    b.instance(output, "close", "()V", [](JavaThread&, Object*, const Args&) { return none(); });

    ClassInfo* file =
        b.define("java/io/FileOutputStream", "java/io/OutputStream", ObjectKind::FileStream);
    const auto open = [](JavaThread& t, Object* self, const Args& args) {
        Object* path = argument(args, 0);
        if (!path) {
            throwNew(t, "java/lang/NullPointerException", std::nullopt);
            return none();
        }
        if (path->chars.find(L'\0') != std::wstring::npos || path->chars.empty()) {
            throwNew(t, "java/io/FileNotFoundException", L"Invalid file path");
            return none();
        }
        const bool append = args.size() > 1 && args[1].z;
        // Opening for output empties an existing file unless asked to append.
        HANDLE handle =
            CreateFileW(path->chars.c_str(), GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            throwNew(t, "java/io/FileNotFoundException",
                     path->chars + L" (" + systemMessage(error) + L")");
            return none();
        }
        if (append)
            SetFilePointer(handle, 0, nullptr, FILE_END);
        self->file = handle;
        return none();
    };
    b.instance(file, "<init>", "(Ljava/lang/String;)V", open);
    b.instance(file, "<init>", "(Ljava/lang/String;Z)V", open);
    b.instance(file, "close", "()V", [](JavaThread&, Object* self, const Args&) {
        if (self->file != INVALID_HANDLE_VALUE)
            CloseHandle(self->file);
        self->file = INVALID_HANDLE_VALUE;
        return none();
    });

    ClassInfo* bytes =
        b.define("java/io/ByteArrayOutputStream", "java/io/OutputStream", ObjectKind::ByteStream);
    b.instance(bytes, "<init>", "()V", [](JavaThread&, Object*, const Args&) { return none(); });
    b.instance(bytes, "<init>", "(I)V", [](JavaThread& t, Object*, const Args& args) {
        if (args.at(0).i < 0)
            throwNew(t, "java/lang/IllegalArgumentException",
                     L"Negative initial size: " + std::to_wstring(args[0].i));
        return none();
    });
    b.instance(bytes, "toString", "()Ljava/lang/String;",
               [](JavaThread&, Object* self, const Args&) {
                   return objectValue(newString(fromUtf8(self->bytes)));
               });
    b.instance(bytes, "toString", "(Ljava/lang/String;)Ljava/lang/String;",
               [](JavaThread& t, Object* self, const Args& args) {
                   Object* charset = argument(args, 0);
                   if (!charset) {
                       throwNew(t, "java/lang/NullPointerException", L"charsetName");
                       return none();
                   }
                   std::wstring name = charset->chars;
                   for (wchar_t& c : name)
                       c = c >= L'a' && c <= L'z' ? c - (L'a' - L'A') : c;
                   if (name != L"UTF-8" && name != L"UTF8") {
                       throwNew(t, "java/io/UnsupportedEncodingException", charset->chars);
                       return none();
                   }
                   return objectValue(newString(fromUtf8(self->bytes)));
               });
    b.instance(bytes, "size", "()I", [](JavaThread&, Object* self, const Args&) {
        return intValue(static_cast<jint>(self->bytes.size()));
    });
    b.instance(bytes, "reset", "()V", [](JavaThread&, Object* self, const Args&) {
        self->bytes.clear();
        return none();
    });

    b.define("java/io/FilterOutputStream", "java/io/OutputStream");
    ClassInfo* print =
        b.define("java/io/PrintStream", "java/io/FilterOutputStream", ObjectKind::PrintStream);
    const auto wrap = [](JavaThread& t, Object* self, const Args& args) {
        Object* target = argument(args, 0);
        if (!target) {
            throwNew(t, "java/lang/NullPointerException", L"Null output stream");
            return none();
        }
        if (!isSubclass(target->cls, lookUpClass("java/io/OutputStream")))
            fatal("PrintStream given an object that is not an OutputStream: " + target->cls->name);
        self->target = target;
        return none();
    };
    b.instance(print, "<init>", "(Ljava/io/OutputStream;)V", wrap);
    b.instance(print, "<init>", "(Ljava/io/OutputStream;Z)V", wrap);
    b.instance(print, "print", "(Ljava/lang/String;)V",
               [](JavaThread& t, Object* self, const Args& args) {
                   writeBytes(t, self, toUtf8(javaToString(argument(args, 0))));
                   return none();
               });
    b.instance(print, "println", "(Ljava/lang/String;)V",
               [](JavaThread& t, Object* self, const Args& args) {
                   printLine(t, self, javaToString(argument(args, 0)));
                   return none();
               });
    b.instance(print, "println", "(Ljava/lang/Object;)V",
               [](JavaThread& t, Object* self, const Args& args) {
                   printLine(t, self, javaToString(argument(args, 0)));
                   return none();
               });
    b.instance(print, "println", "()V", [](JavaThread& t, Object* self, const Args&) {
        printLine(t, self, L"");
        return none();
    });
}

Object* standardPrintStream(int stream) {
    Object* file = newObject(lookUpClass("java/io/FileOutputStream"));
    file->standardStream = stream;
    Object* print = newObject(lookUpClass("java/io/PrintStream"));
    print->target = file;
    return print;
}

// "name(descriptor)" from the script.
void defineScriptedClasses(ClassBuilder& b, Vm& vm) {
    for (const JavaClass& scripted : vm.script.classes) {
        const std::string name = toModifiedUtf8(scripted.name);
        if (vm.classes.contains(name))
            continue;
        ClassInfo* cls = b.define(name, "java/lang/Object");
        cls->scripted = true;
        cls->classPathEntry = scripted.classPathEntry;
        cls->module = scripted.module;
        const auto add = [&](const std::wstring& text, bool isStatic) {
            const std::string method = toModifiedUtf8(text);
            const size_t paren = method.find('(');
            if (paren == std::string::npos)
                return;
            b.method(cls, method.substr(0, paren), method.substr(paren), isStatic, {});
            Method* added = cls->methods.back().get();
            added->code = scriptedMethodCode(added);
        };
        for (const std::wstring& method : scripted.staticMethods)
            add(method, true);
        for (const std::wstring& method : scripted.instanceMethods)
            add(method, false);
    }
    // Linked once all are defined, so that a class may extend one declared after it.
    for (const JavaClass& scripted : vm.script.classes) {
        ClassInfo* super = lookUpClass(toModifiedUtf8(scripted.superclass));
        if (!scripted.superclass.empty() && super)
            vm.classes.at(toModifiedUtf8(scripted.name))->super = super;
    }
}

} // namespace

void bootstrapClasses(Vm& vm) {
    ClassBuilder builder(vm);
    defineLangClasses(builder);
    defineThrowables(builder);
    defineStreams(builder);
    defineModuleClasses(builder);
    defineScriptedClasses(builder, vm);
    builder.createMirrors();
    vm.systemOut = standardPrintStream(1);
    vm.systemErr = standardPrintStream(2);
    vm.properties[L"line.separator"] = kLineSeparator;
    vm.properties[L"file.encoding"] = L"UTF-8";
    vm.properties[L"java.class.path"] = L".";
}

} // namespace testjvm
