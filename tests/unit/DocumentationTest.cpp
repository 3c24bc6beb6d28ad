// The user documentation checked against the code it describes: every section and key the
// launcher reads has its entry in docs/settings.md, every text of the string table appears in
// docs/troubleshooting.md, and the pages link only to files that exist. The files are read
// from the source tree, so a key or a message added to the code fails here until the pages
// describe it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string readSourceFile(const std::string& relative) {
    std::ifstream in(std::string(QOVA_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool isFence(const std::string& line) {
    return startsWith(line, "```");
}

// ---- The keys in the code ----------------------------------------------------------------

using SectionKey = std::pair<std::string, std::string>;

struct KeysInCode {
    std::set<std::string> sections;
    std::set<SectionKey> keys;
    std::vector<std::string> problems;
};

// src/settings/SettingsKeys.h names every section (constants ending in "Section") and every
// key (ending in "Key"); a comment "// [Section name]" introduces the keys of each section.
KeysInCode keysInCode(const std::string& header) {
    KeysInCode found;
    std::string section;
    const std::string declaration = "inline constexpr const wchar_t* ";
    for (const std::string& line : linesOf(header)) {
        if (startsWith(line, "// [") && endsWith(line, "]")) {
            section = line.substr(4, line.size() - 5);
            continue;
        }
        if (!startsWith(line, declaration))
            continue;
        const size_t nameEnd = line.find(' ', declaration.size());
        const size_t open = line.find("L\"");
        const size_t close = line.rfind('"');
        if (nameEnd == std::string::npos || open == std::string::npos || close <= open + 1) {
            found.problems.push_back("cannot read: " + line);
            continue;
        }
        const std::string name = line.substr(declaration.size(), nameEnd - declaration.size());
        const std::string value = line.substr(open + 2, close - open - 2);
        if (endsWith(name, "Section")) {
            found.sections.insert(value);
        } else if (endsWith(name, "Key")) {
            if (section.empty())
                found.problems.push_back("key " + value + " comes before any section comment");
            found.keys.insert({section, value});
        }
    }
    for (const auto& [section, key] : found.keys)
        if (!found.sections.count(section))
            found.problems.push_back("the comment [" + section + "] names no section constant");
    return found;
}

// ---- The keys on the settings page -------------------------------------------------------

struct KeyEntry {
    std::string section;
    std::string key;
    std::vector<std::string> lines; // up to the next heading
};

struct SettingsPage {
    std::set<std::string> sections;
    std::vector<KeyEntry> entries;
};

// "## [Section]" opens a section, any other "## " heading closes it, and "### Key" inside a
// section opens the entry of a key. Lines inside code fences are never headings.
SettingsPage readSettingsPage(const std::string& page) {
    SettingsPage found;
    std::string section;
    bool inFence = false;
    KeyEntry* entry = nullptr;
    for (const std::string& line : linesOf(page)) {
        if (isFence(line))
            inFence = !inFence;
        if (!inFence && startsWith(line, "## ")) {
            entry = nullptr;
            section.clear();
            const std::string title = line.substr(3);
            if (startsWith(title, "[") && endsWith(title, "]")) {
                section = title.substr(1, title.size() - 2);
                found.sections.insert(section);
            }
            continue;
        }
        if (!inFence && startsWith(line, "#")) {
            entry = nullptr;
            if (startsWith(line, "### ") && !section.empty()) {
                found.entries.push_back({section, line.substr(4), {}});
                entry = &found.entries.back();
            }
            continue;
        }
        if (entry)
            entry->lines.push_back(line);
    }
    return found;
}

// What an entry must give: its accepted values, its default, and an example in an "ini" fence
// that sets the key in its section (or in the section's "+" form), spelled exactly.
std::vector<std::string> entryProblems(const KeyEntry& entry) {
    bool values = false;
    bool defaultValue = false;
    bool example = false;
    bool inExample = false;
    bool exampleSection = false;
    for (const std::string& line : entry.lines) {
        if (!inExample && line.find("**Values:**") != std::string::npos)
            values = true;
        if (!inExample && line.find("**Default:**") != std::string::npos)
            defaultValue = true;
        if (line == "```ini") {
            inExample = true;
            exampleSection = false;
            continue;
        }
        if (inExample && isFence(line)) {
            inExample = false;
            continue;
        }
        if (!inExample)
            continue;
        if (startsWith(line, "["))
            exampleSection =
                line == "[" + entry.section + "]" || line == "[" + entry.section + "+]";
        else if (exampleSection && startsWith(line, entry.key + "="))
            example = true;
    }
    std::vector<std::string> problems;
    const std::string name = "[" + entry.section + "] " + entry.key;
    if (!values)
        problems.push_back(name + ": no **Values:** line");
    if (!defaultValue)
        problems.push_back(name + ": no **Default:** line");
    if (!example)
        problems.push_back(name + ": no ini example that sets it in its section");
    return problems;
}

// The text of an entry's "**Read from:**" item, its continuation lines included.
std::string readFromText(const KeyEntry& entry) {
    std::string text;
    for (const std::string& line : entry.lines) {
        if (text.empty()) {
            if (line.find("**Read from:**") != std::string::npos)
                text = line;
        } else if (startsWith(line, "  ") && line.find("**") == std::string::npos) {
            text += " " + line.substr(2);
        } else {
            break;
        }
    }
    return text;
}

// The page's paragraphs and list items, each with its continuation lines joined by blanks.
std::vector<std::string> itemsOf(const std::string& page) {
    std::vector<std::string> items;
    bool open = false;
    for (const std::string& line : linesOf(page)) {
        const bool continues = open && !line.empty() && !startsWith(line, "- ") &&
                               !startsWith(line, "#") && !isFence(line);
        if (continues) {
            items.back() += " " + line.substr(line.find_first_not_of(' '));
            continue;
        }
        open = !line.empty() && !isFence(line);
        if (open)
            items.push_back(line);
    }
    return items;
}

// Whether a troubleshooting item tells the reader that `key` is not taken from the embedded
// settings, in the clause that names it (up to the next ";" or end of sentence): the kind of
// statement that goes stale when a key becomes embeddable.
bool deniesEmbeddedReading(const std::string& item, const std::string& key) {
    const std::string quoted = "\"" + key + "\"";
    for (size_t at = item.find(quoted); at != std::string::npos; at = item.find(quoted, at + 1)) {
        size_t end = item.find_first_of(";", at);
        end = std::min(end, item.find(". ", at));
        const std::string clause = item.substr(at, end == std::string::npos ? end : end - at);
        for (const char* phrase :
             {"not from the embedded settings", "not in the embedded settings",
              "settings file beside the launcher only", "only from the settings file"})
            if (clause.find(phrase) != std::string::npos)
                return true;
    }
    return false;
}

// ---- The string table --------------------------------------------------------------------

struct TableText {
    std::string id;
    std::string text;
};

// The entries of src/res/strings.rc: an id and a quoted text with the resource compiler's
// escapes (\n, \t, \\, \" and a doubled quote).
std::vector<TableText> stringTable(const std::string& script) {
    std::vector<TableText> table;
    for (const std::string& line : linesOf(script)) {
        const size_t idStart = line.find_first_not_of(' ');
        if (idStart == std::string::npos || !startsWith(line.substr(idStart), "IDS_"))
            continue;
        const size_t idEnd = line.find(' ', idStart);
        const size_t open = line.find('"', idStart);
        const size_t close = line.rfind('"');
        if (idEnd == std::string::npos || open == std::string::npos || close <= open)
            continue;
        std::string text;
        for (size_t i = open + 1; i < close; ++i) {
            const char c = line[i];
            if (c == '\\' && i + 1 < close) {
                const char escaped = line[++i];
                text += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
            } else if (c == '"' && i + 1 < close && line[i + 1] == '"') {
                text += '"';
                ++i;
            } else {
                text += c;
            }
        }
        table.push_back({line.substr(idStart, idEnd - idStart), text});
    }
    return table;
}

std::set<std::string> stringIdsOf(const std::string& header) {
    std::set<std::string> ids;
    for (const std::string& line : linesOf(header))
        if (startsWith(line, "#define IDS_"))
            ids.insert(line.substr(8, line.find(' ', 8) - 8));
    return ids;
}

// The texts a page shows as code: each fenced block whole, and each inline code span.
std::vector<std::string> codeOf(const std::string& page) {
    std::vector<std::string> pieces;
    bool inFence = false;
    std::string block;
    for (const std::string& line : linesOf(page)) {
        if (isFence(line)) {
            if (inFence)
                pieces.push_back(block);
            inFence = !inFence;
            block.clear();
            continue;
        }
        if (inFence) {
            block += block.empty() ? line : "\n" + line;
            continue;
        }
        for (size_t open = line.find('`'); open != std::string::npos;) {
            const size_t close = line.find('`', open + 1);
            if (close == std::string::npos)
                break;
            pieces.push_back(line.substr(open + 1, close - open - 1));
            open = line.find('`', close + 1);
        }
    }
    return pieces;
}

// A message as the launcher formats it: literal text between %s and %d placeholders. The
// trailing line feeds of an entry do not show in a message box and are left out.
struct MessageTemplate {
    std::vector<std::string> literals; // one more than placeholders
    std::vector<char> placeholders;    // 's' or 'd'
};

MessageTemplate templateOf(std::string format) {
    while (!format.empty() && format.back() == '\n')
        format.pop_back();
    MessageTemplate result{{""}, {}};
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            const char conversion = format[i + 1];
            if (conversion == 's' || conversion == 'd') {
                result.placeholders.push_back(conversion);
                result.literals.emplace_back();
                ++i;
                continue;
            }
            if (conversion == '%') {
                result.literals.back() += '%';
                ++i;
                continue;
            }
        }
        result.literals.back() += format[i];
    }
    return result;
}

// What may stand for a placeholder: one line of text for %s (empty too: a reason can be), a
// decimal number for %d, or the placeholder itself where a page quotes the bare template.
bool fillsPlaceholder(const std::string& fill, char placeholder) {
    if (fill == std::string("%") + placeholder)
        return true;
    if (placeholder == 's')
        return fill.find('\n') == std::string::npos;
    size_t digits = fill.size() > 1 && fill[0] == '-' ? 1 : 0;
    if (digits == fill.size())
        return false;
    for (; digits < fill.size(); ++digits)
        if (!std::isdigit(static_cast<unsigned char>(fill[digits])))
            return false;
    return true;
}

bool matchesFrom(const std::string& text, size_t position, const MessageTemplate& message,
                 size_t index) {
    if (index == message.literals.size())
        return true;
    const std::string& literal = message.literals[index];
    const char placeholder = message.placeholders[index - 1];
    // The last placeholder of a template that ends in one takes the rest of its line.
    if (literal.empty() && index + 1 == message.literals.size()) {
        const size_t lineEnd = text.find('\n', position);
        const std::string rest = text.substr(
            position, lineEnd == std::string::npos ? std::string::npos : lineEnd - position);
        for (size_t length = rest.size() + 1; length-- > 0;)
            if (fillsPlaceholder(rest.substr(0, length), placeholder))
                return true;
        return false;
    }
    for (size_t found = text.find(literal, position); found != std::string::npos;
         found = text.find(literal, found + 1)) {
        if (!fillsPlaceholder(text.substr(position, found - position), placeholder))
            continue;
        if (matchesFrom(text, found + literal.size(), message, index + 1))
            return true;
    }
    return false;
}

// Whether `text` holds the message with its placeholders filled in.
bool showsMessage(const std::string& text, const std::string& format) {
    const MessageTemplate message = templateOf(format);
    const std::string& first = message.literals.front();
    for (size_t found = text.find(first); found != std::string::npos;
         found = text.find(first, found + 1)) {
        if (matchesFrom(text, found + first.size(), message, 1))
            return true;
        if (first.empty())
            break;
    }
    return false;
}

// ---- Tests -------------------------------------------------------------------------------

TEST(Documentation, SettingsPageDescribesEverySectionAndKeyTheLauncherReads) {
    const std::string header = readSourceFile("src/settings/SettingsKeys.h");
    const std::string page = readSourceFile("docs/settings.md");
    ASSERT_FALSE(header.empty());
    ASSERT_FALSE(page.empty());

    const KeysInCode code = keysInCode(header);
    for (const std::string& problem : code.problems)
        ADD_FAILURE() << "src/settings/SettingsKeys.h: " << problem;
    // Enough to know the header was understood: six sections, the keys of each.
    ASSERT_EQ(code.sections.size(), 6u);
    ASSERT_GE(code.keys.size(), 28u);

    const SettingsPage documented = readSettingsPage(page);
    for (const std::string& section : code.sections)
        EXPECT_TRUE(documented.sections.count(section))
            << "docs/settings.md has no heading \"## [" << section << "]\"";

    std::set<SectionKey> onPage;
    for (const KeyEntry& entry : documented.entries) {
        EXPECT_TRUE(onPage.insert({entry.section, entry.key}).second)
            << "[" << entry.section << "] " << entry.key << " is described twice";
        EXPECT_TRUE(code.keys.count({entry.section, entry.key}))
            << "docs/settings.md describes [" << entry.section << "] " << entry.key
            << ", which the launcher does not read (spelled exactly so)";
        for (const std::string& problem : entryProblems(entry))
            ADD_FAILURE() << "docs/settings.md: " << problem;
    }
    for (const auto& [section, key] : code.keys)
        EXPECT_TRUE(onPage.count({section, key}))
            << "docs/settings.md lacks \"### " << key << "\" under \"## [" << section << "]\"";
}

// The troubleshooting page must not contradict the settings page on where a key is read.
TEST(Documentation, TroubleshootingPageAgreesWhereEachKeyIsRead) {
    const SettingsPage settings = readSettingsPage(readSourceFile("docs/settings.md"));
    const std::vector<std::string> items = itemsOf(readSourceFile("docs/troubleshooting.md"));
    ASSERT_FALSE(items.empty());
    size_t embeddable = 0;
    for (const KeyEntry& entry : settings.entries) {
        const std::string readFrom = readFromText(entry);
        EXPECT_FALSE(readFrom.empty())
            << "[" << entry.section << "] " << entry.key << " has no **Read from:** line";
        if (readFrom.find("embedded settings") == std::string::npos)
            continue;
        ++embeddable;
        for (const std::string& item : items)
            EXPECT_FALSE(deniesEmbeddedReading(item, entry.key))
                << "docs/troubleshooting.md says \"" << entry.key
                << "\" is not read from the embedded settings, which docs/settings.md says it is:\n"
                << item;
    }
    EXPECT_GE(embeddable, 28u);

    // The check itself: a denial wrapped over two lines is caught; a key named in another
    // clause of the same item, or not denied at all, is not.
    const std::vector<std::string> sample = itemsOf(
        "- **No splash.** \"Splash Screen\" is read from the settings file beside the launcher\n"
        "  only, not from the embedded settings; set \"Override WorkingDir\" to `Yes`.\n"
        "- \"Splash Screen Shadow\" must be `true`.\n");
    ASSERT_EQ(sample.size(), 2u);
    EXPECT_TRUE(deniesEmbeddedReading(sample[0], "Splash Screen"));
    EXPECT_FALSE(deniesEmbeddedReading(sample[0], "Override WorkingDir"));
    EXPECT_FALSE(deniesEmbeddedReading(sample[1], "Splash Screen Shadow"));
}

TEST(Documentation, TroubleshootingPageShowsEveryTextOfTheStringTable) {
    const std::string script = readSourceFile("src/res/strings.rc");
    const std::string page = readSourceFile("docs/troubleshooting.md");
    ASSERT_FALSE(page.empty());

    const std::vector<TableText> table = stringTable(script);
    std::set<std::string> idsInTable;
    for (const TableText& entry : table)
        idsInTable.insert(entry.id);
    // Every id the code can ask for was read from the script, so none is skipped below.
    const std::set<std::string> ids = stringIdsOf(readSourceFile("src/res/resource.h"));
    ASSERT_FALSE(ids.empty());
    EXPECT_EQ(idsInTable, ids);

    const std::vector<std::string> code = codeOf(page);
    for (const TableText& entry : table) {
        bool shown = false;
        for (const std::string& piece : code)
            shown = shown || showsMessage(piece, entry.text);
        EXPECT_TRUE(shown) << entry.id << " \"" << entry.text
                           << "\" appears in no code block or span of docs/troubleshooting.md";
    }
}

TEST(Documentation, PagesLinkToFilesThatExistAndImagesStaySmall) {
    const std::vector<std::string> pages = {"README.md", "docs/settings.md",
                                            "docs/troubleshooting.md", "docs/packaging.md"};
    std::set<std::string> images;
    for (const std::string& page : pages) {
        const std::string text = readSourceFile(page);
        ASSERT_FALSE(text.empty()) << page;
        const std::string folder = page.find('/') == std::string::npos ? "" : "docs/";
        for (size_t link = text.find("]("); link != std::string::npos;
             link = text.find("](", link + 2)) {
            const size_t end = text.find_first_of(")#", link + 2);
            const std::string target = text.substr(link + 2, end - link - 2);
            if (target.empty() || target.find("://") != std::string::npos)
                continue;
            const std::string path = folder + target;
            EXPECT_FALSE(readSourceFile(path).empty()) << page << " links to missing " << target;
            if (endsWith(target, ".png"))
                images.insert(path);
        }
    }
    // The splash, both dialogs and a message box.
    EXPECT_GE(images.size(), 4u);
    for (const std::string& image : images) {
        const std::string bytes = readSourceFile(image);
        EXPECT_TRUE(startsWith(bytes, "\x89PNG\r\n\x1a\n")) << image << " is no PNG file";
        EXPECT_LT(bytes.size(), 64u * 1024u) << image << " is not compressed";
    }
}

TEST(Documentation, MessageCheckAcceptsFilledInTextsOnly) {
    struct Row {
        const char* format;
        const char* text;
        bool shown;
    };
    const Row rows[] = {
        {"Could not find the main class %s.\n", "Could not find the main class a/B.", true},
        {"Could not find the main class %s.\n", "Could not find main class a/B.", false},
        {"Failed to load Java VM library: %s (errno = %d).\n",
         "Failed to load Java VM library: C:\\a b\\jvm.dll (errno = 126).", true},
        {"Failed to load Java VM library: %s (errno = %d).\n",
         "Failed to load Java VM library: C:\\jvm.dll (errno = x).", false},
        {"JNI exception: %s\nReason: %s.\n", "JNI exception: failed\nReason: .", true},
        {"JNI exception: %s\nReason: %s.\n", "JNI exception: failed Reason: unknown.", false},
        // A placeholder stands for one line, not for text across lines.
        {"Windows exception: %s (errno = %d).\n", "Windows exception: a\nb (errno = 5).", false},
        {"COM error: %s (errno = %d).\n", "COM error: %s (errno = %d).", true},
        {"maximum version %s", "(maximum version 1.8)", true},
        {"Please  download", "Please download", false},
        {"unknown", "Reason: unknown.", true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(showsMessage(row.text, row.format), row.shown)
            << row.format << " in " << row.text;
}

} // namespace
