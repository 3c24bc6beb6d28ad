#include "ManifestCodePage.h"

namespace {

constexpr std::string_view kElement = "activeCodePage";
constexpr std::string_view kNewElement =
    R"(<activeCodePage xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">UTF-8</activeCodePage>)";

bool isXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool endsName(char c) {
    return isXmlSpace(c) || c == '/' || c == '>';
}

char asciiLower(wchar_t c) {
    return static_cast<char>(c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c);
}

// One tag of the manifest: from its "<" to just after its ">".
struct Tag {
    std::size_t start = 0;
    std::size_t end = 0;
    std::string_view name; // as written, prefix included
    bool closing = false;
    bool empty = false; // <name/>

    std::string_view localName() const {
        const std::size_t colon = name.rfind(':');
        return colon == std::string_view::npos ? name : name.substr(colon + 1);
    }
};

std::optional<Tag> cutShort(bool& broken) {
    broken = true;
    return std::nullopt;
}

// The next element tag at or after `at`; comments, processing instructions and declarations
// are passed over. `broken` is set when the text ends inside one of them or inside a tag.
std::optional<Tag> nextTag(std::string_view text, std::size_t at, bool& broken) {
    while ((at = text.find('<', at)) != std::string_view::npos) {
        const std::string_view rest = text.substr(at);
        std::string_view close;
        if (rest.starts_with("<!--"))
            close = "-->";
        else if (rest.starts_with("<?"))
            close = "?>";
        else if (rest.starts_with("<!"))
            close = ">";
        if (!close.empty()) {
            const std::size_t end = text.find(close, at + 2);
            if (end == std::string_view::npos)
                return cutShort(broken);
            at = end + close.size();
            continue;
        }
        Tag tag;
        tag.start = at++;
        tag.closing = at < text.size() && text[at] == '/';
        if (tag.closing)
            ++at;
        const std::size_t nameStart = at;
        while (at < text.size() && !endsName(text[at]))
            ++at;
        tag.name = text.substr(nameStart, at - nameStart);
        // Attribute values may hold ">"; they are passed over whole.
        for (char quote = 0; at < text.size(); ++at) {
            if (quote) {
                if (text[at] == quote)
                    quote = 0;
            } else if (text[at] == '"' || text[at] == '\'') {
                quote = text[at];
            } else if (text[at] == '>') {
                break;
            }
        }
        if (at >= text.size() || tag.name.empty())
            return cutShort(broken);
        tag.empty = text[at - 1] == '/';
        tag.end = at + 1;
        return tag;
    }
    return std::nullopt;
}

// An activeCodePage element: its start tag, and where its text lies (empty for <x/>).
struct Element {
    Tag start;
    std::size_t textStart = 0;
    std::size_t textEnd = 0;
    std::size_t end = 0; // just after its end tag
};

// The first activeCodePage element; `broken` is set when the manifest does not take apart.
std::optional<Element> findElement(std::string_view manifest, bool& broken) {
    std::optional<Tag> tag;
    for (std::size_t at = 0; (tag = nextTag(manifest, at, broken)); at = tag->end) {
        if (tag->closing || tag->localName() != kElement)
            continue;
        Element element{*tag, tag->end, tag->end, tag->end};
        if (tag->empty)
            return element;
        const std::optional<Tag> endTag = nextTag(manifest, tag->end, broken);
        if (!endTag || !endTag->closing || endTag->name != tag->name) {
            broken = true;
            return std::nullopt;
        }
        element.textEnd = endTag->start;
        element.end = endTag->end;
        return element;
    }
    return std::nullopt;
}

// The first end tag of the element with that local name.
std::optional<Tag> findEndTag(std::string_view manifest, std::string_view localName) {
    bool broken = false;
    std::optional<Tag> tag;
    for (std::size_t at = 0; (tag = nextTag(manifest, at, broken)); at = tag->end)
        if (tag->closing && tag->localName() == localName)
            return tag;
    return std::nullopt;
}

// Where the line holding `at` starts when only blanks come before `at` on it; npos otherwise.
std::size_t blankLineStart(std::string_view text, std::size_t at) {
    std::size_t start = at;
    while (start > 0 && (text[start - 1] == ' ' || text[start - 1] == '\t'))
        --start;
    return start == 0 || text[start - 1] == '\n' ? start : std::string_view::npos;
}

// `element` put before the end tag, on a line of its own indented one step deeper when the
// end tag starts its line, with the manifest's own line ends.
std::string insertedBefore(std::string_view manifest, const Tag& endTag, std::string_view element) {
    std::string result;
    const std::size_t lineStart = blankLineStart(manifest, endTag.start);
    if (lineStart == std::string_view::npos || lineStart == 0) {
        result.append(manifest.substr(0, endTag.start)).append(element);
        return result.append(manifest.substr(endTag.start));
    }
    const std::string_view newline =
        lineStart >= 2 && manifest[lineStart - 2] == '\r' ? "\r\n" : "\n";
    const std::string_view indent = manifest.substr(lineStart, endTag.start - lineStart);
    result.append(manifest.substr(0, lineStart)).append(indent).append("  ").append(element);
    result.append(newline).append(manifest.substr(lineStart));
    return result;
}

} // namespace

std::optional<CodePage> parseCodePage(std::wstring_view text) {
    std::string lower;
    for (const wchar_t c : text)
        lower += c > 0x7F ? '\x7F' : asciiLower(c);
    if (lower == "utf-8")
        return CodePage::utf8;
    if (lower == "system")
        return CodePage::system;
    return std::nullopt;
}

std::optional<std::string> activeCodePage(std::string_view manifest) {
    bool broken = false;
    const std::optional<Element> element = findElement(manifest, broken);
    if (!element)
        return std::nullopt;
    std::string_view text = manifest.substr(element->textStart, element->textEnd - element->textStart);
    while (!text.empty() && isXmlSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isXmlSpace(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

std::optional<std::string> withCodePage(std::string_view manifest, CodePage codePage) {
    bool broken = false;
    const std::optional<Element> element = findElement(manifest, broken);
    if (broken)
        return std::nullopt;
    std::string result;
    if (element && codePage == CodePage::utf8) {
        if (element->start.empty) {
            // <activeCodePage ... /> becomes <activeCodePage ...>UTF-8</activeCodePage>.
            std::size_t slash = element->start.end - 2;
            while (slash > element->start.start && isXmlSpace(manifest[slash - 1]))
                --slash;
            result.append(manifest.substr(0, slash)).append(">UTF-8</");
            result.append(element->start.name).append(">");
        } else {
            result.append(manifest.substr(0, element->textStart)).append("UTF-8");
            result.append(manifest.substr(element->textEnd, element->end - element->textEnd));
        }
        return result.append(manifest.substr(element->end));
    }
    if (element) {
        // Removed with its line when it stands on a line of its own.
        std::size_t from = element->start.start;
        std::size_t to = element->end;
        const std::size_t lineStart = blankLineStart(manifest, from);
        std::size_t lineEnd = to;
        while (lineEnd < manifest.size() && (manifest[lineEnd] == ' ' || manifest[lineEnd] == '\t'))
            ++lineEnd;
        if (manifest.substr(lineEnd).starts_with("\r\n"))
            lineEnd += 2;
        else if (manifest.substr(lineEnd).starts_with("\n"))
            lineEnd += 1;
        if (lineStart != std::string_view::npos && lineEnd > to && manifest[lineEnd - 1] == '\n') {
            from = lineStart;
            to = lineEnd;
        }
        return result.append(manifest.substr(0, from)).append(manifest.substr(to));
    }
    if (codePage == CodePage::system)
        return std::string(manifest);
    if (const std::optional<Tag> settingsEnd = findEndTag(manifest, "windowsSettings"))
        return insertedBefore(manifest, *settingsEnd, kNewElement);
    const std::optional<Tag> assemblyEnd = findEndTag(manifest, "assembly");
    if (!assemblyEnd)
        return std::nullopt;
    std::string application = R"(<application xmlns="urn:schemas-microsoft-com:asm.v3">)";
    application.append("<windowsSettings>").append(kNewElement);
    application.append("</windowsSettings></application>");
    return insertedBefore(manifest, *assemblyEnd, application);
}
