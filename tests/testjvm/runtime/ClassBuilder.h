// Defining the runtime's built-in classes and their members, and the small helpers their
// method code shares.
#pragma once

#include "Vm.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace testjvm {

using Args = std::vector<jvalue>;

inline jvalue none() {
    return jvalue{};
}

inline jvalue objectValue(Object* object) {
    jvalue value{};
    value.l = handle(object);
    return value;
}

inline jvalue intValue(jint number) {
    jvalue value{};
    value.i = number;
    return value;
}

inline jvalue booleanValue(bool flag) {
    jvalue value{};
    value.z = flag ? JNI_TRUE : JNI_FALSE;
    return value;
}

inline Object* argument(const Args& args, size_t index) {
    return checked(args.at(index).l, "Java method argument");
}

class ClassBuilder {
  public:
    explicit ClassBuilder(Vm& vm) : vm_(vm) {}

    ClassInfo* define(const std::string& name, const char* super,
                      ObjectKind kind = ObjectKind::Plain, bool isAbstract = false) {
        auto cls = std::make_unique<ClassInfo>();
        cls->name = name;
        cls->super = super ? vm_.classes.at(super).get() : nullptr;
        cls->instanceKind = kind;
        cls->isAbstract = isAbstract;
        ClassInfo* result = cls.get();
        vm_.classes.emplace(name, std::move(cls));
        return result;
    }

    void method(ClassInfo* cls, std::string name, std::string descriptor, bool isStatic,
                NativeCode code) {
        auto method = std::make_unique<Method>();
        method->owner = cls;
        method->name = std::move(name);
        method->descriptor = std::move(descriptor);
        method->isStatic = isStatic;
        method->code = std::move(code);
        vm_.methods.insert(method.get());
        cls->methods.push_back(std::move(method));
    }

    void instance(ClassInfo* cls, std::string name, std::string descriptor, NativeCode code) {
        method(cls, std::move(name), std::move(descriptor), false, std::move(code));
    }

    void statics(ClassInfo* cls, std::string name, std::string descriptor, NativeCode code) {
        method(cls, std::move(name), std::move(descriptor), true, std::move(code));
    }

    // Every class gets its java.lang.Class object once java.lang.Class itself exists.
    void createMirrors() {
        ClassInfo* classClass = vm_.classes.at("java/lang/Class").get();
        for (auto& [name, cls] : vm_.classes) {
            if (cls->mirror)
                continue;
            cls->mirror = newObject(classClass);
            cls->mirror->classValue = cls.get();
        }
    }

  private:
    Vm& vm_;
};

// The classes of the module system: ModuleLayer, Module, ModuleDescriptor and Optional, and
// Class.forName(Module, String).
void defineModuleClasses(ClassBuilder& b);

} // namespace testjvm
