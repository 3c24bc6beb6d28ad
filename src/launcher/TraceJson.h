// One line of the launch trace: a flat JSON object built in UTF-16, ready to be converted to
// UTF-8 without loss.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Appends text as a JSON string, quotes included. Quotes, backslashes and control characters
// are escaped, and so is a surrogate without its partner: it is kept as the code unit the
// launcher saw (a path may hold one), where a conversion to UTF-8 would replace it.
void appendJsonString(std::wstring& out, std::wstring_view text);

class JsonLine {
  public:
    // Names and words are ASCII with nothing to escape: they are the launcher's own vocabulary.
    JsonLine& text(const char* name, std::wstring_view value);
    JsonLine& word(const char* name, const char* value);
    JsonLine& number(const char* name, int64_t value);
    JsonLine& flag(const char* name, bool value);

    // The object closed and ended with a line feed; nothing may be added after it.
    const std::wstring& finish();

  private:
    void name(const char* name);

    std::wstring line_ = L"{";
};
