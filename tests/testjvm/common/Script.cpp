#include "Script.h"

#include "TextCodec.h"

#include <charconv>
#include <utility>

namespace testjvm {

namespace {

struct ActionName {
    Action::Kind kind;
    const char* name;
    bool numeric;
};

constexpr ActionName kActionNames[] = {
    {Action::Kind::PrintOut, "out", false},
    {Action::Kind::PrintErr, "err", false},
    {Action::Kind::PrintArgs, "printArgs", false},
    {Action::Kind::Sleep, "sleep", true},
    {Action::Kind::Thread, "thread", true},
    {Action::Kind::DaemonThread, "daemonThread", true},
    {Action::Kind::Throw, "throw", false},
    {Action::Kind::Cause, "cause", false},
    {Action::Kind::Exit, "exit", true},
    {Action::Kind::ExitFromThread, "exitFromThread", true},
    {Action::Kind::Abort, "abort", false},
    {Action::Kind::Return, "return", true},
    {Action::Kind::WaitFor, "waitFor", false},
    {Action::Kind::ShutdownHook, "shutdownHook", false},
    {Action::Kind::ReadLine, "readLine", false},
    {Action::Kind::Signal, "signal", false},
};

void addLine(std::string& out, std::string_view key, std::string_view value) {
    out.append(key);
    out += '=';
    out.append(value);
    out += '\n';
}

void addActions(std::string& out, std::string_view prefix, const std::vector<Action>& actions) {
    for (const Action& action : actions) {
        for (const ActionName& name : kActionNames) {
            if (name.kind != action.kind)
                continue;
            const std::string key = std::string(prefix) + "." + name.name;
            addLine(out, key,
                    name.numeric ? std::to_string(action.number) : textValue(action.text));
        }
    }
}

template <typename Number> bool parseNumber(std::string_view text, Number& number) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, number);
    return result.ec == std::errc() && result.ptr == end;
}

bool parseAction(std::string_view name, std::string_view value, std::vector<Action>& actions) {
    for (const ActionName& known : kActionNames) {
        if (name != known.name)
            continue;
        Action action;
        action.kind = known.kind;
        if (known.numeric)
            return parseNumber(value, action.number) && (actions.push_back(action), true);
        action.text = textFromValue(value);
        actions.push_back(std::move(action));
        return true;
    }
    return false;
}

} // namespace

std::string formatScript(const Script& script) {
    std::string out = "# test runtime script\n";
    addLine(out, "createResult", std::to_string(script.createResult));
    for (const std::wstring& option : script.rejectedOptions)
        addLine(out, "rejectOption", textValue(option));
    for (const std::wstring& option : script.acceptedOptions)
        addLine(out, "acceptOption", textValue(option));
    addLine(out, "rejectResult", std::to_string(script.rejectResult));
    addLine(out, "defaultStackSize", std::to_string(script.defaultStackSize));
    addLine(out, "destroyTimeoutMs", std::to_string(script.destroyTimeoutMs));
    if (!script.createWaitsFor.empty())
        addLine(out, "createWaitsFor", textValue(script.createWaitsFor));
    addLine(out, "createDelayMs", std::to_string(script.createDelayMs));
    for (const JavaClass& javaClass : script.classes) {
        addLine(out, "class", textValue(javaClass.name));
        for (const std::wstring& method : javaClass.staticMethods)
            addLine(out, "static", textValue(method));
        for (const std::wstring& method : javaClass.instanceMethods)
            addLine(out, "instance", textValue(method));
        if (!javaClass.classPathEntry.empty())
            addLine(out, "classPathEntry", textValue(javaClass.classPathEntry));
        if (!javaClass.superclass.empty())
            addLine(out, "superclass", textValue(javaClass.superclass));
        if (!javaClass.module.empty())
            addLine(out, "inModule", textValue(javaClass.module));
    }
    for (const JavaModule& module : script.modules) {
        addLine(out, "module", textValue(module.name));
        if (!module.mainClass.empty())
            addLine(out, "moduleMainClass", textValue(module.mainClass));
        if (!module.modulePathEntry.empty())
            addLine(out, "modulePathEntry", textValue(module.modulePathEntry));
        for (const std::wstring& required : module.requiredModules)
            addLine(out, "requires", textValue(required));
    }
    addActions(out, "main", script.mainActions);
    addActions(out, "secondaryMain", script.secondaryMainActions);
    addActions(out, "stop", script.stopActions);
    return out;
}

bool parseScript(std::string_view text, Script& script, std::string& error) {
    script = Script{};
    size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        std::string_view key;
        std::string_view value;
        bool understood = splitLine(line, key, value);
        if (understood) {
            JavaClass* current = script.classes.empty() ? nullptr : &script.classes.back();
            JavaModule* module = script.modules.empty() ? nullptr : &script.modules.back();
            if (key == "createResult")
                understood = parseNumber(value, script.createResult);
            else if (key == "rejectOption")
                script.rejectedOptions.push_back(textFromValue(value));
            else if (key == "acceptOption")
                script.acceptedOptions.push_back(textFromValue(value));
            else if (key == "rejectResult")
                understood = parseNumber(value, script.rejectResult);
            else if (key == "defaultStackSize")
                understood = parseNumber(value, script.defaultStackSize);
            else if (key == "destroyTimeoutMs")
                understood = parseNumber(value, script.destroyTimeoutMs);
            else if (key == "createWaitsFor")
                script.createWaitsFor = textFromValue(value);
            else if (key == "createDelayMs")
                understood = parseNumber(value, script.createDelayMs);
            else if (key == "class") {
                JavaClass javaClass;
                javaClass.name = textFromValue(value);
                javaClass.staticMethods.clear();
                script.classes.push_back(std::move(javaClass));
            } else if (key == "static" && current)
                current->staticMethods.push_back(textFromValue(value));
            else if (key == "instance" && current)
                current->instanceMethods.push_back(textFromValue(value));
            else if (key == "classPathEntry" && current)
                current->classPathEntry = textFromValue(value);
            else if (key == "superclass" && current)
                current->superclass = textFromValue(value);
            else if (key == "inModule" && current)
                current->module = textFromValue(value);
            else if (key == "module")
                script.modules.push_back({textFromValue(value), {}, {}, {}});
            else if (key == "moduleMainClass" && module)
                module->mainClass = textFromValue(value);
            else if (key == "modulePathEntry" && module)
                module->modulePathEntry = textFromValue(value);
            else if (key == "requires" && module)
                module->requiredModules.push_back(textFromValue(value));
            else if (key.starts_with("main."))
                understood = parseAction(key.substr(5), value, script.mainActions);
            else if (key.starts_with("secondaryMain."))
                understood = parseAction(key.substr(14), value, script.secondaryMainActions);
            else if (key.starts_with("stop."))
                understood = parseAction(key.substr(5), value, script.stopActions);
            else
                understood = false;
        }
        if (!understood) {
            error = "line " + std::to_string(lineNumber) + ": " + std::string(line);
            return false;
        }
    }
    return true;
}

} // namespace testjvm
