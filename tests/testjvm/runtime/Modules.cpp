// The module system as the runtime models it: the boot layer that VM creation resolves from the
// script's modules and the module options, and the classes through which Java code sees it
// (ModuleLayer, Module, ModuleDescriptor, Optional and Class.forName(Module, String)).
#include "ClassBuilder.h"
#include "Record.h"
#include "TextCodec.h"

#include <deque>

namespace testjvm {

namespace {

std::wstring lowerAscii(std::wstring text) {
    for (wchar_t& c : text)
        c = c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c;
    return text;
}

// A module of the runtime image, or one that an element of the module path holds.
bool isObservable(const Vm& vm, const JavaModule& module) {
    if (module.modulePathEntry.empty())
        return true;
    const std::wstring wanted = lowerAscii(module.modulePathEntry);
    for (const std::wstring& element : vm.modulePath)
        if (lowerAscii(element).ends_with(wanted) && classPathElementOpens(element))
            return true;
    return false;
}

const JavaModule* observableModule(const Vm& vm, const std::wstring& name) {
    for (const JavaModule& module : vm.script.modules)
        if (module.name == name && isObservable(vm, module))
            return &module;
    return nullptr;
}

// What HotSpot prints when the boot layer cannot be built; VM creation then fails.
void bootLayerError(const std::wstring& detail) {
    writeStandardHandle(2, std::wstring(L"Error occurred during initialization of boot layer") +
                               kLineSeparator + L"java.lang.module.FindException: " + detail +
                               kLineSeparator);
}

Object* newOptional(Object* value) {
    Object* optional = newObject(lookUpClass("java/util/Optional"));
    optional->target = value;
    return optional;
}

Object* newNamed(const char* className, const std::wstring& name) {
    Object* object = newObject(lookUpClass(className));
    object->chars = name;
    return object;
}

Object* moduleArgument(JavaThread& thread, const Args& args, size_t index) {
    Object* module = argument(args, index);
    if (!module)
        throwNew(thread, "java/lang/NullPointerException", std::nullopt);
    return module;
}

} // namespace

bool resolveBootLayer(Vm& vm) {
    std::deque<std::pair<std::wstring, std::wstring>> wanted; // module, the module requiring it
    const auto property = vm.properties.find(L"jdk.module.main");
    const std::wstring mainModule = property == vm.properties.end() ? L"" : property->second;
    bool defaultRoots = mainModule.empty();
    bool allModulePath = false;
    if (!mainModule.empty())
        wanted.emplace_back(mainModule, L"");
    for (const std::wstring& name : vm.addedModules) {
        if (name == L"ALL-DEFAULT" || name == L"ALL-SYSTEM")
            defaultRoots = true;
        else if (name == L"ALL-MODULE-PATH")
            allModulePath = true;
        else
            wanted.emplace_back(name, L"");
    }
    // Without a main module the application is in the unnamed module, which reads every module
    // of the runtime image; with one, only what it requires is resolved.
    for (const JavaModule& module : vm.script.modules)
        if ((defaultRoots && module.modulePathEntry.empty()) ||
            (allModulePath && !module.modulePathEntry.empty() && isObservable(vm, module)))
            wanted.emplace_back(module.name, L"");

    while (!wanted.empty()) {
        const auto [name, requiredBy] = wanted.front();
        wanted.pop_front();
        if (vm.bootLayer.contains(name))
            continue;
        const JavaModule* module = observableModule(vm, name);
        if (!module) {
            bootLayerError(L"Module " + name + L" not found" +
                           (requiredBy.empty() ? L"" : L", required by " + requiredBy));
            return false;
        }
        vm.bootLayer.insert(name);
        vm.recordText(key::kModuleResolved, name);
        for (const std::wstring& required : module->requiredModules)
            wanted.emplace_back(required, name);
    }
    return true;
}

bool isInBootLayer(const std::wstring& module) {
    Vm& vm = Vm::instance();
    std::lock_guard guard(vm.lock);
    return vm.bootLayer.contains(module);
}

void defineModuleClasses(ClassBuilder& b) {
    ClassInfo* layer = b.define("java/lang/ModuleLayer", "java/lang/Object");
    b.statics(layer, "boot", "()Ljava/lang/ModuleLayer;", [](JavaThread&, Object*, const Args&) {
        return objectValue(newObject(lookUpClass("java/lang/ModuleLayer")));
    });
    b.instance(layer, "findModule", "(Ljava/lang/String;)Ljava/util/Optional;",
               [](JavaThread& t, Object*, const Args& args) {
                   Object* name = argument(args, 0);
                   if (!name) {
                       throwNew(t, "java/lang/NullPointerException", std::nullopt);
                       return none();
                   }
                   const bool found = isInBootLayer(name->chars);
                   Vm::instance().recordText(key::kModuleFind,
                                             name->chars + (found ? L" found" : L" missing"));
                   return objectValue(
                       newOptional(found ? newNamed("java/lang/Module", name->chars) : nullptr));
               });

    ClassInfo* module = b.define("java/lang/Module", "java/lang/Object");
    b.instance(
        module, "getName", "()Ljava/lang/String;",
        [](JavaThread&, Object* self, const Args&) { return objectValue(newString(self->chars)); });
    b.instance(module, "getDescriptor", "()Ljava/lang/module/ModuleDescriptor;",
               [](JavaThread&, Object* self, const Args&) {
                   return objectValue(newNamed("java/lang/module/ModuleDescriptor", self->chars));
               });

    ClassInfo* descriptor = b.define("java/lang/module/ModuleDescriptor", "java/lang/Object");
    b.instance(
        descriptor, "name", "()Ljava/lang/String;",
        [](JavaThread&, Object* self, const Args&) { return objectValue(newString(self->chars)); });
    b.instance(descriptor, "mainClass", "()Ljava/util/Optional;",
               [](JavaThread&, Object* self, const Args&) {
                   Vm& vm = Vm::instance();
                   std::wstring mainClass;
                   {
                       std::lock_guard guard(vm.lock);
                       for (const JavaModule& scripted : vm.script.modules)
                           if (scripted.name == self->chars)
                               mainClass = scripted.mainClass;
                   }
                   return objectValue(
                       newOptional(mainClass.empty() ? nullptr : newString(mainClass)));
               });

    ClassInfo* optional = b.define("java/util/Optional", "java/lang/Object");
    b.instance(optional, "isPresent", "()Z", [](JavaThread&, Object* self, const Args&) {
        return booleanValue(self->target != nullptr);
    });
    b.instance(optional, "isEmpty", "()Z", [](JavaThread&, Object* self, const Args&) {
        return booleanValue(self->target == nullptr);
    });
    b.instance(optional, "get", "()Ljava/lang/Object;",
               [](JavaThread& t, Object* self, const Args&) {
                   if (!self->target)
                       throwNew(t, "java/util/NoSuchElementException", L"No value present");
                   return objectValue(self->target);
               });
    b.instance(optional, "orElse", "(Ljava/lang/Object;)Ljava/lang/Object;",
               [](JavaThread&, Object* self, const Args& args) {
                   return objectValue(self->target ? self->target : argument(args, 0));
               });

    // Loads the class only from that module: null, not an exception, for a class elsewhere.
    b.statics(lookUpClass("java/lang/Class"), "forName",
              "(Ljava/lang/Module;Ljava/lang/String;)Ljava/lang/Class;",
              [](JavaThread& t, Object*, const Args& args) {
                  Object* module = moduleArgument(t, args, 0);
                  Object* name = argument(args, 1);
                  if (!module)
                      return none();
                  if (!name) {
                      throwNew(t, "java/lang/NullPointerException", std::nullopt);
                      return none();
                  }
                  std::string slashName = toModifiedUtf8(name->chars);
                  for (char& c : slashName)
                      c = c == '.' ? '/' : c;
                  ClassInfo* cls = lookUpClass(slashName);
                  const bool found = cls && cls->scripted && cls->module == module->chars;
                  Vm::instance().recordText(key::kModuleForName,
                                            module->chars + L" " + name->chars +
                                                (found ? L" found" : L" missing"));
                  return found ? objectValue(cls->mirror) : none();
              });
}

} // namespace testjvm
