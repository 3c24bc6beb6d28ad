#include "Record.h"

#include "TextCodec.h"

#include <cstdlib>

namespace testjvm {

namespace {

unsigned long long toUnsigned(const std::string& text) {
    return std::strtoull(text.c_str(), nullptr, 10);
}
long long toSigned(const std::string& text) {
    return std::strtoll(text.c_str(), nullptr, 10);
}

wchar_t asciiLower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c;
}

bool equalsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}

// "Class.name(descriptor)" -> "name"
std::wstring_view methodName(std::wstring_view method) {
    const size_t paren = method.find(L'(');
    const std::wstring_view head = method.substr(0, paren);
    const size_t dot = head.rfind(L'.');
    return dot == std::wstring_view::npos ? head : head.substr(dot + 1);
}

} // namespace

std::string recordLine(std::string_view key, std::string_view escapedValue) {
    std::string line(key);
    line += '=';
    line.append(escapedValue);
    line += '\n';
    return line;
}

std::optional<std::wstring> Record::environmentVariable(std::wstring_view name) const {
    for (const auto& [variable, value] : environment)
        if (equalsIgnoringAsciiCase(variable, name))
            return value;
    return std::nullopt;
}

std::vector<const JavaCall*> Record::callsOf(std::wstring_view name) const {
    std::vector<const JavaCall*> result;
    for (const JavaCall& call : calls)
        if (methodName(call.method) == name)
            result.push_back(&call);
    return result;
}

std::vector<std::wstring> Record::optionTexts() const {
    std::vector<std::wstring> texts;
    for (const RecordedOption& option : options)
        texts.push_back(option.text);
    return texts;
}

std::optional<long long> Record::lastNumber(std::string_view key) const {
    for (auto line = lines.rbegin(); line != lines.rend(); ++line)
        if (line->first == key)
            return toSigned(line->second);
    return std::nullopt;
}

std::optional<long long> Record::clockTicks(std::string_view event) const {
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        const std::string& value = line->second;
        if (line->first == key::kClock && value.size() > event.size() &&
            value.compare(0, event.size(), event) == 0 && value[event.size()] == ' ')
            return toSigned(value.substr(event.size() + 1));
    }
    return std::nullopt;
}

Record parseRecord(std::string_view text, std::wstring (*ansiDecode)(std::string_view)) {
    Record record;
    JavaCall* currentCall = nullptr;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        std::string_view keyView;
        std::string_view rawValue;
        if (!splitLine(line, keyView, rawValue))
            continue;
        const std::string k(keyView);
        const std::string value = unescapeValue(rawValue);
        const std::wstring valueText = fromModifiedUtf8(value);
        record.lines.emplace_back(k, value);

        if (k == key::kLoad)
            record.loads.push_back(static_cast<unsigned long>(toUnsigned(value)));
        else if (k == key::kLoadModule)
            record.loadedModules.push_back(valueText);
        else if (k == key::kDefaultArgs)
            record.defaultInitArgsVersions.push_back(static_cast<jint>(toSigned(value)));
        else if (k == key::kCreateVersion) {
            // A new creation attempt: what it was given replaces the earlier attempt's.
            ++record.createCalls;
            record.version = static_cast<jint>(toSigned(value));
            record.options.clear();
            record.environment.clear();
            record.missingClassPathElements.clear();
            record.createResult.reset();
        } else if (k == key::kCreateIgnore)
            record.ignoreUnrecognized = value == "1";
        else if (k == key::kOption || k == key::kHookOption)
            record.options.push_back({value, ansiDecode(value), k == key::kHookOption});
        else if (k == key::kCreateThread)
            record.createThreadId = static_cast<unsigned long>(toUnsigned(value));
        else if (k == key::kCreateStack)
            record.createStackSize = toUnsigned(value);
        else if (k == key::kCreateDirectory)
            record.currentDirectory = valueText;
        else if (k == key::kCreateCodePage)
            record.createCodePage = static_cast<unsigned>(toUnsigned(value));
        else if (k == key::kEnvironment) {
            // Skip the first character when looking for "=": hidden variables start with it.
            const size_t equals = valueText.find(L'=', 1);
            record.environment.emplace_back(
                valueText.substr(0, equals),
                equals == std::wstring::npos ? std::wstring() : valueText.substr(equals + 1));
        } else if (k == key::kCreateResult)
            record.createResult = static_cast<jint>(toSigned(value));
        else if (k == key::kClassPathMissing)
            record.missingClassPathElements.push_back(valueText);
        else if (k == key::kFindClass)
            record.classesLookedUp.push_back(valueText);
        else if (k == key::kMethodLookup)
            record.methodLookups.push_back(valueText);
        else if (k == key::kModuleResolved)
            record.resolvedModules.push_back(valueText);
        else if (k == key::kModuleFind)
            record.moduleLookups.push_back(valueText);
        else if (k == key::kModuleForName)
            record.moduleClassLookups.push_back(valueText);
        else if (k == key::kCallClass && currentCall)
            currentCall->classArgument = valueText;
        else if (k == key::kCallMethod) {
            record.calls.push_back({});
            currentCall = &record.calls.back();
            currentCall->method = valueText;
        } else if (k == key::kCallThread && currentCall)
            currentCall->threadId = static_cast<unsigned long>(toUnsigned(value));
        else if (k == key::kCallArgumentCount && currentCall)
            currentCall->nullArray = toSigned(value) < 0;
        else if (k == key::kCallArgument && currentCall)
            currentCall->arguments.push_back(valueText);
        else if (k == key::kCallNullArgument && currentCall) {
            currentCall->nullArguments.push_back(currentCall->arguments.size());
            currentCall->arguments.emplace_back();
        } else if (k == key::kCallResult) {
            // "threadId value": the latest call on that thread that has no result yet.
            const size_t blank = value.find(' ');
            const auto threadId = static_cast<unsigned long>(toUnsigned(value.substr(0, blank)));
            for (auto call = record.calls.rbegin(); call != record.calls.rend(); ++call) {
                if (call->threadId == threadId && !call->result) {
                    call->result = toSigned(value.substr(blank + 1));
                    break;
                }
            }
        } else if (k == key::kStdout)
            record.standardOutput += valueText;
        else if (k == key::kStderr)
            record.standardError += valueText;
        else if (k == key::kAttach) {
            const size_t blank = valueText.find(L' ');
            record.attached.emplace_back(
                static_cast<unsigned long>(toUnsigned(value.substr(0, value.find(' ')))),
                blank == std::wstring::npos ? std::wstring() : valueText.substr(blank + 1));
        } else if (k == key::kDetach)
            record.detached.push_back(static_cast<unsigned long>(toUnsigned(value)));
        else if (k == key::kExit)
            record.exitStatuses.push_back(toSigned(value));
        else if (k == key::kExitHook)
            record.exitHookStatuses.push_back(toSigned(value));
        else if (k == key::kExitHookReturned)
            record.exitHookReturned = true;
        else if (k == key::kAbort)
            record.aborted = true;
        else if (k == key::kAbortHook)
            record.abortHookCalled = true;
        else if (k == key::kDestroyBegin)
            record.destroyCalled = true;
        else if (k == key::kDestroyStillAttached)
            record.stillAttachedAtDestroy.push_back(valueText);
        else if (k == key::kDestroyTimedOut) {
            record.destroyTimedOut = true;
            record.destroyWaitMs = static_cast<unsigned long>(toUnsigned(value));
        } else if (k == key::kDestroyWaited)
            record.destroyWaitMs = static_cast<unsigned long>(toUnsigned(value));
        else if (k == key::kDestroyEnd)
            record.destroyReturned = true;
        else if (k == key::kUnreleased)
            record.unreleasedStrings = toSigned(value);
        else if (k == key::kViolation)
            record.violations.push_back(valueText);
        else if (k == key::kFatal)
            record.fatalErrors.push_back(valueText);
        else if (k == key::kGateWaiting)
            record.gatesWaiting.push_back(valueText);
        else if (k == key::kGatePassed)
            record.gatesPassed.push_back(valueText);
        else if (k == key::kGateTimedOut)
            record.gatesTimedOut.push_back(valueText);
        else if (k == key::kSplashInit)
            record.splashCalls.push_back({"SplashInit", {}, {}});
        else if (k == key::kSplashLoadFile)
            record.splashCalls.push_back({"SplashLoadFile", value, {}});
        else if (k == key::kSplashSetFileJarName)
            record.splashCalls.push_back({"SplashSetFileJarName", value, {}});
        else if (k == key::kSplashJarName && !record.splashCalls.empty())
            record.splashCalls.back().jarName = value;
        else if (k == key::kSplashClose)
            record.splashCalls.push_back({"SplashClose", {}, {}});
    }
    return record;
}

} // namespace testjvm
