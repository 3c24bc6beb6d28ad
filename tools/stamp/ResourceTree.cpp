#include "ResourceTree.h"

#include "ByteReading.h"
#include "PeLayout.h"

#include <algorithm>

namespace {

constexpr std::size_t kDirectorySize = 16;
constexpr std::size_t kEntrySize = 8;
constexpr std::size_t kDataEntrySize = 16;
constexpr std::uint32_t kHighBit = 0x80000000;
constexpr std::size_t kDataAlignment = 8;
// No executable has this many resources; a hostile tree can claim far more by sharing its
// subdirectories between entries.
constexpr std::size_t kMaxEntries = 0x10000;
// What a tree may make the tool read and copy, checked before each copy is made: every entry
// copies its type's and its name's string, so a few kilobytes of shared directories and one
// long string would otherwise ask for gigabytes. The data is at most the file's size (each
// piece lies in it); the directory entries walked, at most what a tree of kMaxEntries
// resources has; the strings copied, at most 1 Mi code units, far more than any executable's
// names and yet a bounded amount of memory. A rebuilt tree walks and copies no more than the
// tree it came from, so whatever reads once reads again after stamping.
constexpr std::size_t kMaxEntriesWalked = 4 * kMaxEntries;
constexpr std::size_t kMaxNameUnits = 1024 * 1024;

struct TreeReader {
    std::span<const std::uint8_t> image;
    const PeLayout& layout;
    std::span<const std::uint8_t> tree; // from the root directory to the end of its section
    ResourceTree result;
    std::size_t totalBytes = 0;
    std::size_t entriesWalked = 0;
    std::size_t nameUnits = 0;

    bool fail(ResourceTreeProblem problem) {
        result.problem = problem;
        return false;
    }

    // Counts `units` more code units of names against the limit, before they are copied.
    bool chargeNames(std::size_t units) {
        if (units > kMaxNameUnits - nameUnits)
            return fail(ResourceTreeProblem::tooLarge);
        nameUnits += units;
        return true;
    }

    // The entries of the directory at `offset`, as (name field, target field) pairs.
    bool entriesOf(std::size_t offset, std::vector<std::pair<std::uint32_t, std::uint32_t>>& out) {
        if (offset > tree.size() || tree.size() - offset < kDirectorySize)
            return fail(ResourceTreeProblem::outsideImage);
        const std::size_t count =
            std::size_t{readLe16(tree, offset + 12)} + readLe16(tree, offset + 14);
        const std::size_t first = offset + kDirectorySize;
        if ((tree.size() - first) / kEntrySize < count)
            return fail(ResourceTreeProblem::outsideImage);
        if (count > kMaxEntriesWalked - entriesWalked)
            return fail(ResourceTreeProblem::tooLarge);
        entriesWalked += count;
        for (std::size_t i = 0; i < count; ++i)
            out.emplace_back(readLe32(tree, first + i * kEntrySize),
                             readLe32(tree, first + i * kEntrySize + 4));
        return true;
    }

    bool nameOf(std::uint32_t field, ResourceName& name) {
        if (!(field & kHighBit)) {
            if (field > 0xFFFF || field == 0)
                return fail(ResourceTreeProblem::badShape);
            name = ResourceName(static_cast<std::uint16_t>(field));
            return true;
        }
        const std::size_t at = field & ~kHighBit;
        if (at > tree.size() || tree.size() - at < 2)
            return fail(ResourceTreeProblem::outsideImage);
        const std::size_t length = readLe16(tree, at);
        if ((tree.size() - at - 2) / 2 < length)
            return fail(ResourceTreeProblem::outsideImage);
        if (length == 0)
            return fail(ResourceTreeProblem::badShape);
        if (!chargeNames(length))
            return false;
        std::wstring text;
        for (std::size_t i = 0; i < length; ++i)
            text.push_back(static_cast<wchar_t>(readLe16(tree, at + 2 + 2 * i)));
        name = ResourceName(std::move(text));
        return true;
    }

    bool subdirectory(std::uint32_t target, std::size_t& offset) {
        if (!(target & kHighBit))
            return fail(ResourceTreeProblem::badShape);
        offset = target & ~kHighBit;
        return true;
    }

    bool dataOf(std::uint32_t target, std::vector<std::uint8_t>& data) {
        if (target & kHighBit)
            return fail(ResourceTreeProblem::badShape);
        if (target > tree.size() || tree.size() - target < kDataEntrySize)
            return fail(ResourceTreeProblem::outsideImage);
        const std::uint32_t rva = readLe32(tree, target);
        const std::uint32_t size = readLe32(tree, target + 4);
        if (size == 0)
            return true;
        const auto bytes = bytesAtAddress(image, layout, rva, size);
        if (!bytes)
            return fail(ResourceTreeProblem::outsideImage);
        if (size > image.size() - totalBytes)
            return fail(ResourceTreeProblem::tooLarge);
        totalBytes += size;
        data.assign(bytes->begin(), bytes->end());
        return true;
    }

    bool read() {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> types;
        if (!entriesOf(0, types))
            return false;
        for (const auto& [typeField, typeTarget] : types) {
            ResourceName type;
            std::size_t typeDirectory = 0;
            std::vector<std::pair<std::uint32_t, std::uint32_t>> names;
            if (!nameOf(typeField, type) || !subdirectory(typeTarget, typeDirectory) ||
                !entriesOf(typeDirectory, names))
                return false;
            for (const auto& [nameField, nameTarget] : names) {
                ResourceName name;
                std::size_t nameDirectory = 0;
                std::vector<std::pair<std::uint32_t, std::uint32_t>> languages;
                if (!nameOf(nameField, name) || !subdirectory(nameTarget, nameDirectory) ||
                    !entriesOf(nameDirectory, languages))
                    return false;
                for (const auto& [languageField, dataTarget] : languages) {
                    if (languageField > 0xFFFF)
                        return fail(ResourceTreeProblem::badShape);
                    if (result.entries.size() == kMaxEntries ||
                        !chargeNames(type.text.size() + name.text.size()))
                        return fail(ResourceTreeProblem::tooLarge);
                    ResourceEntry entry{type, name, static_cast<std::uint16_t>(languageField), {}};
                    if (!dataOf(dataTarget, entry.data))
                        return false;
                    result.entries.push_back(std::move(entry));
                }
            }
        }
        return true;
    }
};

bool sameResource(const ResourceEntry& a, const ResourceEntry& b) {
    return a.type == b.type && a.name == b.name && a.language == b.language;
}

bool entryBefore(const ResourceEntry* a, const ResourceEntry* b) {
    if (!(a->type == b->type))
        return resourceNameBefore(a->type, b->type);
    if (!(a->name == b->name))
        return resourceNameBefore(a->name, b->name);
    return a->language < b->language;
}

// Writes the tree in four runs: the directories level by level, the data entries, the string
// names, and the data, each piece of data on an 8-byte boundary.
class SectionWriter {
  public:
    SectionWriter(std::span<const ResourceEntry> entries, std::uint32_t sectionAddress)
        : address_(sectionAddress) {
        for (const ResourceEntry& entry : entries)
            sorted_.push_back(&entry);
        std::sort(sorted_.begin(), sorted_.end(), entryBefore);
    }

    std::vector<std::uint8_t> write() {
        // Groups of the sorted entries: [begin, end) per type, and per type and name.
        std::vector<std::pair<std::size_t, std::size_t>> types;
        std::vector<std::pair<std::size_t, std::size_t>> names;
        for (std::size_t i = 0; i < sorted_.size(); ++i) {
            if (i == 0 || !(sorted_[i]->type == sorted_[i - 1]->type))
                types.emplace_back(i, i);
            if (i == 0 || !(sorted_[i]->type == sorted_[i - 1]->type) ||
                !(sorted_[i]->name == sorted_[i - 1]->name))
                names.emplace_back(i, i);
            types.back().second = names.back().second = i + 1;
        }

        std::size_t size = kDirectorySize + types.size() * kEntrySize;
        const std::size_t typeDirectories = size;
        size += types.size() * kDirectorySize + names.size() * kEntrySize;
        const std::size_t nameDirectories = size;
        size += names.size() * kDirectorySize + sorted_.size() * kEntrySize;
        const std::size_t dataEntries = size;
        size += sorted_.size() * kDataEntrySize;
        std::size_t strings = size;
        for (const auto& group : types)
            size += stringSize(sorted_[group.first]->type);
        for (const auto& group : names)
            size += stringSize(sorted_[group.first]->name);
        std::size_t data = alignUp(size, kDataAlignment);
        std::vector<std::size_t> dataAt;
        for (const ResourceEntry* entry : sorted_) {
            dataAt.push_back(data);
            data = alignUp(data + entry->data.size(), kDataAlignment);
        }
        bytes_.assign(sorted_.empty() ? kDirectorySize : data, 0);

        // The root, then one directory per type, then one per name, in sorted order.
        std::size_t nextType = typeDirectories;
        std::size_t nextName = nameDirectories;
        std::size_t nameIndex = 0;
        startDirectory(0, types.size(), [&](std::size_t i) { return sorted_[types[i].first]->type; },
                       strings);
        for (std::size_t t = 0; t < types.size(); ++t) {
            linkEntry(kDirectorySize + t * kEntrySize, nextType | kHighBit);
            std::size_t count = 0;
            while (nameIndex + count < names.size() && names[nameIndex + count].first < types[t].second)
                ++count;
            const std::size_t firstName = nameIndex;
            startDirectory(nextType, count,
                           [&](std::size_t i) { return sorted_[names[firstName + i].first]->name; },
                           strings);
            for (std::size_t n = 0; n < count; ++n) {
                const auto [begin, end] = names[firstName + n];
                linkEntry(nextType + kDirectorySize + n * kEntrySize, nextName | kHighBit);
                writeLe16(bytes_, nextName + 14, static_cast<std::uint16_t>(end - begin));
                for (std::size_t e = begin; e < end; ++e) {
                    const std::size_t entry = nextName + kDirectorySize + (e - begin) * kEntrySize;
                    writeLe32(bytes_, entry, sorted_[e]->language);
                    writeLe32(bytes_, entry + 4, static_cast<std::uint32_t>(dataEntries + e * kDataEntrySize));
                }
                nextName += kDirectorySize + (end - begin) * kEntrySize;
            }
            nextType += kDirectorySize + count * kEntrySize;
            nameIndex += count;
        }
        for (std::size_t e = 0; e < sorted_.size(); ++e) {
            const std::size_t at = dataEntries + e * kDataEntrySize;
            writeLe32(bytes_, at, address_ + static_cast<std::uint32_t>(dataAt[e]));
            writeLe32(bytes_, at + 4, static_cast<std::uint32_t>(sorted_[e]->data.size()));
            std::copy(sorted_[e]->data.begin(), sorted_[e]->data.end(),
                      bytes_.begin() + static_cast<std::ptrdiff_t>(dataAt[e]));
        }
        return std::move(bytes_);
    }

  private:
    static std::size_t stringSize(const ResourceName& name) {
        return name.id ? 0 : 2 + 2 * name.text.size();
    }

    void linkEntry(std::size_t entry, std::size_t target) {
        writeLe32(bytes_, entry + 4, static_cast<std::uint32_t>(target));
    }

    // A directory header and the name fields of its entries; string names are written at
    // `strings`, which moves on past them.
    template <typename NameAt>
    void startDirectory(std::size_t at, std::size_t count, NameAt nameAt, std::size_t& strings) {
        std::size_t named = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const ResourceName name = nameAt(i);
            const std::size_t entry = at + kDirectorySize + i * kEntrySize;
            if (name.id) {
                writeLe32(bytes_, entry, name.id);
                continue;
            }
            ++named;
            writeLe32(bytes_, entry, static_cast<std::uint32_t>(strings) | kHighBit);
            writeLe16(bytes_, strings, static_cast<std::uint16_t>(name.text.size()));
            for (std::size_t k = 0; k < name.text.size(); ++k)
                writeLe16(bytes_, strings + 2 + 2 * k, static_cast<std::uint16_t>(name.text[k]));
            strings += stringSize(name);
        }
        writeLe16(bytes_, at + 12, static_cast<std::uint16_t>(named));
        writeLe16(bytes_, at + 14, static_cast<std::uint16_t>(count - named));
    }

    std::uint32_t address_;
    std::vector<const ResourceEntry*> sorted_;
    std::vector<std::uint8_t> bytes_;
};

} // namespace

std::wstring ResourceName::display() const {
    return id ? std::to_wstring(id) : L"\"" + text + L"\"";
}

bool resourceNameBefore(const ResourceName& a, const ResourceName& b) {
    if ((a.id == 0) != (b.id == 0))
        return a.id == 0; // string names come first
    if (a.id != 0)
        return a.id < b.id;
    // By code unit, whatever the width of wchar_t, so every build orders alike.
    return std::lexicographical_compare(
        a.text.begin(), a.text.end(), b.text.begin(), b.text.end(),
        [](wchar_t x, wchar_t y) { return (x & 0xFFFF) < (y & 0xFFFF); });
}

ResourceTree readResourceTree(std::span<const std::uint8_t> image) {
    ResourceTree empty;
    const std::optional<PeLayout> layout = readPeLayout(image);
    if (!layout) {
        empty.problem = ResourceTreeProblem::damagedHeaders;
        return empty;
    }
    const PeDirectory directory = directoryOf(*layout, kDirectoryResources);
    if (directory.address == 0) {
        empty.problem = ResourceTreeProblem::noResources;
        return empty;
    }
    const auto tree = sectionBytesFrom(image, *layout, directory.address);
    if (!tree) {
        empty.problem = ResourceTreeProblem::outsideImage;
        return empty;
    }
    TreeReader reader{image, *layout, *tree, {}};
    if (!reader.read()) {
        empty.problem = reader.result.problem;
        return empty;
    }
    std::vector<const ResourceEntry*> sorted;
    for (const ResourceEntry& entry : reader.result.entries)
        sorted.push_back(&entry);
    std::sort(sorted.begin(), sorted.end(), entryBefore);
    for (std::size_t i = 1; i < sorted.size(); ++i) {
        if (sameResource(*sorted[i - 1], *sorted[i])) {
            empty.problem = ResourceTreeProblem::badShape;
            return empty;
        }
    }
    return std::move(reader.result);
}

std::vector<std::uint8_t> buildResourceSection(std::span<const ResourceEntry> entries,
                                               std::uint32_t sectionAddress) {
    return SectionWriter(entries, sectionAddress).write();
}
