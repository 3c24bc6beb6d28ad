// An executable's resources as a list of (type, name, language, bytes), read from the
// three-level resource tree of a PE image and written back as a whole resource section.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The standard resource types the tool reads or writes.
inline constexpr std::uint16_t kTypeIcon = 3;
inline constexpr std::uint16_t kTypeRcdata = 10;
inline constexpr std::uint16_t kTypeIconGroup = 14;
inline constexpr std::uint16_t kTypeVersion = 16;
inline constexpr std::uint16_t kTypeManifest = 24;

// A resource type or name: a number, or a string (one wchar_t per UTF-16 code unit).
struct ResourceName {
    std::uint16_t id = 0;
    std::wstring text; // used when id is 0

    ResourceName() = default;
    ResourceName(std::uint16_t number) : id(number) {}
    ResourceName(std::wstring name) : text(std::move(name)) {}
    ResourceName(const wchar_t* name) : text(name) {}

    std::wstring display() const;
    bool operator==(const ResourceName&) const = default;
};

// One resource in one language, with its bytes.
struct ResourceEntry {
    ResourceName type;
    ResourceName name;
    std::uint16_t language = 0;
    std::vector<std::uint8_t> data;
};

enum class ResourceTreeProblem {
    none,
    damagedHeaders, // the headers or the section table are cut short or damaged
    noResources,  // the image has no resource directory
    outsideImage, // a directory, name or data entry lies outside the section's bytes
    badShape,     // not three levels, a string language, a duplicate entry, or no name at all
    tooLarge      // more entries, names or bytes than any image holds: a tree whose entries
                  // share their subdirectories and strings would otherwise multiply them
};

struct ResourceTree {
    std::vector<ResourceEntry> entries; // in the order of the tree
    ResourceTreeProblem problem = ResourceTreeProblem::none;
};

// Every resource of a PE image; none of them when there is a problem.
[[nodiscard]] ResourceTree readResourceTree(std::span<const std::uint8_t> image);

// A resource section for the entries, to be placed at the RVA `sectionAddress`: in the order
// the loader searches (string names first, in code unit order, then numbers, ascending;
// languages ascending), every time stamp and version zero, so that the same resources always
// give the same bytes. The entries need not be sorted; duplicates must have been merged.
[[nodiscard]] std::vector<std::uint8_t> buildResourceSection(std::span<const ResourceEntry> entries,
                                                             std::uint32_t sectionAddress);

// Orders names as the resource tree does.
[[nodiscard]] bool resourceNameBefore(const ResourceName& a, const ResourceName& b);
