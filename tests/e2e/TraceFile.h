// The launch trace as the end-to-end tests read it back: one flat JSON object per line, each
// field kept as text (strings unescaped, numbers and booleans as written). Any line that is not
// such an object ending in a line feed is a problem the tests report.
#pragma once

#include <map>
#include <string>
#include <vector>

struct TraceEvent {
    std::map<std::string, std::wstring> fields;

    std::wstring operator[](const std::string& name) const;
    bool has(const std::string& name) const { return fields.count(name) != 0; }
};

struct Trace {
    std::vector<TraceEvent> events;
    std::vector<std::string> problems; // lines that are not well formed, with their number

    // The events of one kind, in order, optionally only those whose field `name` is `value`.
    std::vector<TraceEvent> of(const std::string& kind) const;
    std::vector<TraceEvent> of(const std::string& kind, const std::string& name,
                               const std::wstring& value) const;
    // The field of the first event of a kind; empty when there is none.
    std::wstring first(const std::string& kind, const std::string& name) const;
};

// Empty (no events, no problems) when the file does not exist.
Trace readTrace(const std::wstring& path);
