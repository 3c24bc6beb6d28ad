#include "TraceFile.h"

#include "TestFiles.h"

#include <windows.h>

#include <cstdlib>

namespace {

std::wstring fromUtf8(const std::string& bytes, bool& valid) {
    if (bytes.empty())
        return {};
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                          static_cast<int>(bytes.size()), nullptr, 0);
    if (units <= 0) {
        valid = false;
        return {};
    }
    std::wstring text(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                        units);
    return text;
}

class LineParser {
  public:
    explicit LineParser(const std::string& line) : line_(line) {}

    bool parse(TraceEvent& event) {
        if (!take('{'))
            return false;
        if (take('}'))
            return position_ == line_.size();
        for (;;) {
            std::wstring name;
            std::wstring value;
            if (!string(name) || !take(':') || !this->value(value))
                return false;
            if (!event.fields.emplace(narrow(name), value).second)
                return false; // a field twice
            if (take('}'))
                return position_ == line_.size();
            if (!take(','))
                return false;
        }
    }

  private:
    bool take(char c) {
        if (position_ < line_.size() && line_[position_] == c) {
            ++position_;
            return true;
        }
        return false;
    }

    bool value(std::wstring& out) {
        if (position_ < line_.size() && line_[position_] == '"')
            return string(out);
        const size_t start = position_;
        while (position_ < line_.size() && line_[position_] != ',' && line_[position_] != '}')
            ++position_;
        const std::string word = line_.substr(start, position_ - start);
        if (word != "true" && word != "false") {
            // An integer: an optional minus, then digits.
            const size_t digits = word.find_first_not_of('-') == 1 ? 1 : 0;
            if (word.size() == digits || word.find_first_not_of("0123456789", digits) != std::string::npos)
                return false;
        }
        out.assign(word.begin(), word.end());
        return true;
    }

    bool string(std::wstring& out) {
        if (!take('"'))
            return false;
        std::string run; // raw UTF-8 between escapes
        bool valid = true;
        while (position_ < line_.size()) {
            const char c = line_[position_++];
            if (c == '"') {
                out += fromUtf8(run, valid);
                return valid;
            }
            if (static_cast<unsigned char>(c) < 0x20)
                return false; // a control character must be escaped
            if (c != '\\') {
                run += c;
                continue;
            }
            out += fromUtf8(run, valid);
            run.clear();
            if (position_ >= line_.size())
                return false;
            const char escaped = line_[position_++];
            switch (escaped) {
            case '"':
            case '\\':
            case '/':
                out += static_cast<wchar_t>(escaped);
                break;
            case 'n':
                out += L'\n';
                break;
            case 'r':
                out += L'\r';
                break;
            case 't':
                out += L'\t';
                break;
            case 'b':
                out += L'\b';
                break;
            case 'f':
                out += L'\f';
                break;
            case 'u': {
                if (position_ + 4 > line_.size())
                    return false;
                const std::string hex = line_.substr(position_, 4);
                if (hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
                    return false;
                out += static_cast<wchar_t>(std::strtoul(hex.c_str(), nullptr, 16));
                position_ += 4;
                break;
            }
            default:
                return false;
            }
        }
        return false;
    }

    const std::string& line_;
    size_t position_ = 0;
};

} // namespace

std::wstring TraceEvent::operator[](const std::string& name) const {
    const auto found = fields.find(name);
    return found == fields.end() ? std::wstring() : found->second;
}

std::vector<TraceEvent> Trace::of(const std::string& kind) const {
    std::vector<TraceEvent> found;
    const std::wstring wideKind(kind.begin(), kind.end());
    for (const TraceEvent& event : events)
        if (event[std::string("ev")] == wideKind)
            found.push_back(event);
    return found;
}

std::vector<TraceEvent> Trace::of(const std::string& kind, const std::string& name,
                                  const std::wstring& value) const {
    std::vector<TraceEvent> found;
    for (const TraceEvent& event : of(kind))
        if (event[name] == value)
            found.push_back(event);
    return found;
}

std::wstring Trace::first(const std::string& kind, const std::string& name) const {
    const std::vector<TraceEvent> found = of(kind);
    return found.empty() ? std::wstring() : found.front()[name];
}

Trace readTrace(const std::wstring& path) {
    Trace trace;
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return trace;
    const std::string bytes = readBytesFile(path);
    size_t start = 0;
    for (int number = 1; start < bytes.size(); ++number) {
        const size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            trace.problems.push_back("line " + std::to_string(number) + " has no line feed");
            break;
        }
        const std::string line = bytes.substr(start, end - start);
        TraceEvent event;
        if (LineParser(line).parse(event) && event.has("us") && event.has("pid") && event.has("ev"))
            trace.events.push_back(std::move(event));
        else
            trace.problems.push_back("line " + std::to_string(number) + ": " + line);
        start = end + 1;
    }
    return trace;
}
