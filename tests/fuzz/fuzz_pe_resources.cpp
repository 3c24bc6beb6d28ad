// The PE layout reader, the resource tree reader and writer, and the version resource reader,
// on any bytes: as a whole file, and as the resource section of an otherwise sound image. A
// tree that reads is rebuilt, and must read back the same and rebuild to the same bytes.
#include "../unit/PeTestImage.h"
#include "PeLayout.h"
#include "ResourceSection.h"
#include "ResourceTree.h"
#include "VersionResource.h"

#include "FuzzCheck.h"

#include <algorithm>
#include <cstdlib>
#include <span>
#include <tuple>

namespace {

std::vector<ResourceEntry> sorted(std::vector<ResourceEntry> entries) {
    std::sort(entries.begin(), entries.end(), [](const ResourceEntry& a, const ResourceEntry& b) {
        if (!(a.type == b.type))
            return resourceNameBefore(a.type, b.type);
        if (!(a.name == b.name))
            return resourceNameBefore(a.name, b.name);
        return a.language < b.language;
    });
    return entries;
}

bool same(const std::vector<ResourceEntry>& a, const std::vector<ResourceEntry>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.type == y.type && x.name == y.name && x.language == y.language && x.data == y.data;
    });
}

void exercise(const std::vector<std::uint8_t>& image) {
    if (const auto layout = readPeLayout(image))
        for (const PeSection& section : layout->sections)
            check(section.rawSize == 0 ||
                  std::uint64_t{section.rawOffset} + section.rawSize <= image.size());
    const ResourceTree tree = readResourceTree(image);
    if (tree.problem != ResourceTreeProblem::none) {
        check(tree.entries.empty());
        return;
    }
    const ResourceSectionResult rebuilt = withResources(image, tree.entries);
    if (rebuilt.problem != ResourceSectionProblem::none)
        return;
    const ResourceTree again = readResourceTree(rebuilt.image);
    check(again.problem == ResourceTreeProblem::none);
    check(same(again.entries, sorted(tree.entries)));
    check(withResources(rebuilt.image, again.entries).image == rebuilt.image);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    exercise({bytes.begin(), bytes.end()});
    exercise(pe_test::imageWithTree({bytes.begin(), bytes.end()}));
    const VersionFields fields = parseVersionResource(bytes);
    check(fields.strings.size() <= kVersionStringNames.size());
    return 0;
}
