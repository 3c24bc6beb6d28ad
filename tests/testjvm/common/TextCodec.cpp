#include "TextCodec.h"

namespace testjvm {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

void appendUnit(std::string& out, unsigned unit) {
    if (unit != 0 && unit < 0x80) {
        out += static_cast<char>(unit);
    } else if (unit < 0x800) {
        out += static_cast<char>(0xC0 | (unit >> 6));
        out += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (unit >> 12));
        out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (unit & 0x3F));
    }
}

void appendCodePoint(std::wstring& out, unsigned codePoint) {
    if (codePoint >= 0x10000) {
        codePoint -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (codePoint >> 10));
        out += static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF));
    } else {
        out += static_cast<wchar_t>(codePoint);
    }
}

bool isContinuation(std::string_view bytes, size_t index) {
    return index < bytes.size() && (static_cast<unsigned char>(bytes[index]) & 0xC0) == 0x80;
}

// Decodes one sequence at `index`; `strict` rejects what only modified UTF-8 allows (C0 80,
// encoded surrogates) and overlong forms.
std::wstring decode(std::string_view bytes, bool strict) {
    std::wstring out;
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            out += static_cast<wchar_t>(lead);
            ++i;
        } else if ((lead & 0xE0) == 0xC0 && isContinuation(bytes, i + 1)) {
            const unsigned value = ((lead & 0x1F) << 6) | (bytes[i + 1] & 0x3F);
            const bool overlong = value < 0x80 && !(value == 0 && !strict);
            out += overlong ? kReplacement : static_cast<wchar_t>(value);
            i += 2;
        } else if ((lead & 0xF0) == 0xE0 && isContinuation(bytes, i + 1) &&
                   isContinuation(bytes, i + 2)) {
            const unsigned value =
                ((lead & 0x0F) << 12) | ((bytes[i + 1] & 0x3F) << 6) | (bytes[i + 2] & 0x3F);
            const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
            const bool invalid = value < 0x800 || (strict && surrogate);
            out += invalid ? kReplacement : static_cast<wchar_t>(value);
            i += 3;
        } else if ((lead & 0xF8) == 0xF0 && isContinuation(bytes, i + 1) &&
                   isContinuation(bytes, i + 2) && isContinuation(bytes, i + 3)) {
            const unsigned value = ((lead & 0x07) << 18) | ((bytes[i + 1] & 0x3F) << 12) |
                                   ((bytes[i + 2] & 0x3F) << 6) | (bytes[i + 3] & 0x3F);
            if (value < 0x10000 || value > 0x10FFFF)
                out += kReplacement;
            else
                appendCodePoint(out, value);
            i += 4;
        } else {
            out += kReplacement;
            ++i;
        }
    }
    return out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string toModifiedUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text)
        appendUnit(out, static_cast<unsigned>(c) & 0xFFFF);
    return out;
}

std::wstring fromModifiedUtf8(std::string_view bytes) {
    return decode(bytes, false);
}

std::string toUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned unit = static_cast<unsigned>(text[i]) & 0xFFFF;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() &&
            (static_cast<unsigned>(text[i + 1]) & 0xFC00) == 0xDC00) {
            const unsigned codePoint =
                0x10000 + ((unit - 0xD800) << 10) + ((static_cast<unsigned>(text[i + 1]) & 0x3FF));
            out += static_cast<char>(0xF0 | (codePoint >> 18));
            out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (codePoint & 0x3F));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            out += '?';
        } else if (unit == 0) {
            out += '\0';
        } else {
            appendUnit(out, unit);
        }
    }
    return out;
}

std::wstring fromUtf8(std::string_view bytes) {
    return decode(bytes, true);
}

std::string escapeValue(std::string_view bytes, bool escapeNonAscii) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (byte < 0x20 || byte == 0x7F || (escapeNonAscii && byte >= 0x80)) {
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        } else
            out += c;
    }
    return out;
}

std::string unescapeValue(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char kind = text[++i];
        if (kind == 'n')
            out += '\n';
        else if (kind == 'r')
            out += '\r';
        else if (kind == 't')
            out += '\t';
        else if (kind == 'x' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 &&
                 hexDigit(text[i + 2]) >= 0) {
            out += static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
            i += 2;
        } else
            out += kind;
    }
    return out;
}

std::string textValue(std::wstring_view text) {
    return escapeValue(toModifiedUtf8(text));
}

std::wstring textFromValue(std::string_view value) {
    return fromModifiedUtf8(unescapeValue(value));
}

bool splitLine(std::string_view line, std::string_view& key, std::string_view& value) {
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return false;
    key = line.substr(0, equals);
    value = line.substr(equals + 1);
    return true;
}

} // namespace testjvm
