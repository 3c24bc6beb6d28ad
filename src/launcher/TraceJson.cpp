#include "launcher/TraceJson.h"

#include "launcher/DecimalText.h"

namespace {

void appendAscii(std::wstring& out, const char* text) {
    while (*text)
        out += static_cast<wchar_t>(static_cast<unsigned char>(*text++));
}

void appendUnicodeEscape(std::wstring& out, unsigned unit) {
    static const char hex[] = "0123456789abcdef";
    out += L"\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += static_cast<wchar_t>(hex[(unit >> shift) & 0xF]);
}

bool isHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

} // namespace

void appendJsonString(std::wstring& out, std::wstring_view text) {
    out += L'"';
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'"' || c == L'\\') {
            out += L'\\';
            out += c;
        } else if (c == L'\n') {
            out += L"\\n";
        } else if (c == L'\r') {
            out += L"\\r";
        } else if (c == L'\t') {
            out += L"\\t";
        } else if (c < 0x20) {
            appendUnicodeEscape(out, c);
        } else if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            out += c;
            out += text[++i];
        } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
            appendUnicodeEscape(out, c);
        } else {
            out += c;
        }
    }
    out += L'"';
}

void JsonLine::name(const char* name) {
    if (line_.size() > 1)
        line_ += L',';
    line_ += L'"';
    appendAscii(line_, name);
    line_ += L"\":";
}

JsonLine& JsonLine::text(const char* name, std::wstring_view value) {
    this->name(name);
    appendJsonString(line_, value);
    return *this;
}

JsonLine& JsonLine::word(const char* name, const char* value) {
    this->name(name);
    line_ += L'"';
    appendAscii(line_, value);
    line_ += L'"';
    return *this;
}

JsonLine& JsonLine::number(const char* name, int64_t value) {
    this->name(name);
    line_ += decimalText(value);
    return *this;
}

JsonLine& JsonLine::flag(const char* name, bool value) {
    this->name(name);
    line_ += value ? L"true" : L"false";
    return *this;
}

const std::wstring& JsonLine::finish() {
    line_ += L"}\n";
    return line_;
}
