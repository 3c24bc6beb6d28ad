#include "ManifestLevel.h"

#include <algorithm>

namespace {

constexpr std::string_view kElement = "requestedExecutionLevel";
constexpr std::string_view kAttribute = "level";

bool isXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool endsName(char c) {
    return isXmlSpace(c) || c == '/' || c == '>' || c == '=';
}

// Scans the attributes of a start tag from `at` (just after the element name) for "level";
// stops at the end of the tag.
std::optional<TextRange> findLevelAttribute(std::string_view text, std::size_t at) {
    for (;;) {
        while (at < text.size() && isXmlSpace(text[at]))
            ++at;
        if (at >= text.size() || text[at] == '/' || text[at] == '>')
            return std::nullopt;
        const std::size_t nameStart = at;
        while (at < text.size() && !endsName(text[at]))
            ++at;
        const std::string_view name = text.substr(nameStart, at - nameStart);
        while (at < text.size() && isXmlSpace(text[at]))
            ++at;
        if (at >= text.size() || text[at] != '=')
            return std::nullopt;
        ++at;
        while (at < text.size() && isXmlSpace(text[at]))
            ++at;
        if (at >= text.size() || (text[at] != '"' && text[at] != '\''))
            return std::nullopt;
        const char quote = text[at++];
        const std::size_t valueEnd = text.find(quote, at);
        if (valueEnd == std::string_view::npos)
            return std::nullopt;
        if (name == kAttribute)
            return TextRange{at, valueEnd - at};
        at = valueEnd + 1;
    }
}

} // namespace

bool isExecutionLevel(std::string_view level) {
    return std::find(kExecutionLevels.begin(), kExecutionLevels.end(), level) !=
           kExecutionLevels.end();
}

std::optional<TextRange> findExecutionLevel(std::string_view manifest) {
    std::size_t at = 0;
    while ((at = manifest.find('<', at)) != std::string_view::npos) {
        if (manifest.substr(at, 4) == "<!--") {
            const std::size_t end = manifest.find("-->", at + 4);
            if (end == std::string_view::npos)
                return std::nullopt;
            at = end + 3;
            continue;
        }
        ++at;
        std::size_t nameEnd = at;
        while (nameEnd < manifest.size() && !endsName(manifest[nameEnd]))
            ++nameEnd;
        std::string_view name = manifest.substr(at, nameEnd - at);
        // The element may carry a namespace prefix ("asmv3:requestedExecutionLevel").
        if (const std::size_t colon = name.rfind(':'); colon != std::string_view::npos)
            name.remove_prefix(colon + 1);
        if (name == kElement)
            return findLevelAttribute(manifest, nameEnd);
        at = nameEnd;
    }
    return std::nullopt;
}

std::optional<std::string> withExecutionLevel(std::string_view manifest, std::string_view level) {
    const std::optional<TextRange> range = findExecutionLevel(manifest);
    if (!range)
        return std::nullopt;
    std::string result(manifest.substr(0, range->offset));
    result += level;
    result += manifest.substr(range->offset + range->length);
    return result;
}
