// One line of the launch trace as the event functions build it: stamped with the time since
// the process started and the process id, written whole or not at all.
#pragma once

#include "launcher/TraceJson.h"

#include <cstdint>
#include <string_view>

// Whether the trace file is open; every event function asks first.
bool isLaunchTraced();

class TraceLine {
  public:
    explicit TraceLine(const char* event);

    TraceLine& text(const char* name, std::wstring_view value) {
        line_.text(name, value);
        return *this;
    }
    TraceLine& word(const char* name, const char* value) {
        line_.word(name, value);
        return *this;
    }
    TraceLine& number(const char* name, int64_t value) {
        line_.number(name, value);
        return *this;
    }
    TraceLine& flag(const char* name, bool value) {
        line_.flag(name, value);
        return *this;
    }
    // Narrow text in the system's ANSI code page, as the VM is given its options.
    TraceLine& ansi(const char* name, std::string_view bytes);

    // Appends the line with one write, so that launches sharing a file never mix their lines.
    void write();

  private:
    JsonLine line_;
};
