#include "jar/JarManifest.h"

#include "launcher/Utf8Sequence.h"

#include <algorithm>

namespace {

bool equalNames(std::string_view a, std::string_view b) {
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return fold(x) == fold(y); });
}

bool isNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
}

// UTF-16 code units on every platform. A malformed sequence becomes U+FFFD, as Java decodes
// it; a class name with one is then simply not found.
std::wstring decodeUtf8(std::string_view bytes) {
    std::wstring text;
    for (std::size_t i = 0; i < bytes.size();) {
        const Utf8Sequence sequence = utf8SequenceAt(bytes, i);
        appendUtf16(text, sequence.valid ? sequence.codePoint : 0xFFFD);
        i += sequence.length;
    }
    return text;
}

void store(std::vector<ManifestAttribute>& attributes, std::string_view name,
           std::string_view value) {
    std::wstring decoded = decodeUtf8(value);
    for (ManifestAttribute& attribute : attributes)
        if (equalNames(attribute.name, name)) {
            attribute.value = std::move(decoded);
            return;
        }
    attributes.push_back({std::string(name), std::move(decoded)});
}

} // namespace

bool readManifestMainSection(std::span<const std::uint8_t> manifest,
                             std::vector<ManifestAttribute>& attributes) {
    const std::string_view text(reinterpret_cast<const char*>(manifest.data()), manifest.size());
    std::string_view name;
    std::string value; // bytes: a line may be broken inside a UTF-8 sequence
    bool pending = false;
    for (std::size_t position = 0; position < text.size();) {
        // A line ends at CR, LF or CRLF; the last one may end with the text instead. Lines
        // longer than the 72 bytes that writers keep to are read all the same: hand-written
        // manifests have them, and the java command reads them too.
        std::size_t end = text.find_first_of("\r\n", position);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(position, end - position);
        position = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);

        if (line.empty())
            break;
        if (line.front() == ' ') {
            if (!pending)
                return false;
            value += line.substr(1);
            continue;
        }
        if (pending)
            store(attributes, name, value);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0 || colon > 70 ||
            colon + 1 == line.size() || line[colon + 1] != ' ')
            return false;
        // A plain loop rather than std::all_of, whose search is unrolled four times over.
        for (std::size_t i = 0; i < colon; ++i)
            if (!isNameCharacter(line[i]))
                return false;
        name = line.substr(0, colon);
        value.assign(line.substr(colon + 2));
        pending = true;
    }
    if (pending)
        store(attributes, name, value);
    return true;
}

const std::wstring* manifestValue(const std::vector<ManifestAttribute>& attributes,
                                  std::string_view name) {
    for (const ManifestAttribute& attribute : attributes)
        if (equalNames(attribute.name, name))
            return &attribute.value;
    return nullptr;
}
