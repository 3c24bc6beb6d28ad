#include "ResourceSection.h"

#include "ByteReading.h"
#include "PeLayout.h"

#include <algorithm>

namespace {

constexpr std::size_t kSizeOfInitializedData = 8;  // in the optional header, both kinds
constexpr std::size_t kSizeOfImage = 56;
constexpr std::size_t kPointerToSymbolTable = 8; // in the file header
constexpr std::uint64_t kLimit = 0xFFFFFFFF;

// How much of the address space a section takes: the loader maps its virtual size, or its
// raw size where the virtual size is 0.
std::uint64_t extentOf(const PeSection& section) {
    return section.virtualSize ? section.virtualSize : section.rawSize;
}

bool contains(const PeSection& section, std::uint32_t rva) {
    return rva >= section.virtualAddress && rva - section.virtualAddress < extentOf(section);
}

ResourceSectionResult failure(ResourceSectionProblem problem, std::string section = {}) {
    ResourceSectionResult result;
    result.problem = problem;
    result.section = std::move(section);
    return result;
}

// Sections after the resources move to make room. That is sound only for the base relocation
// table, which is found through its directory and which nothing else points into; code and data
// are referred to by their addresses all over the image, so a section holding them stays put.
ResourceSectionResult checkMovable(const PeLayout& layout, std::size_t resources) {
    const PeSection& rsrc = layout.sections[resources];
    const PeDirectory relocations = directoryOf(layout, kDirectoryRelocations);
    for (std::size_t i = 0; i < layout.sections.size(); ++i) {
        const PeSection& section = layout.sections[i];
        if (i < resources) {
            if (section.virtualAddress >= rsrc.virtualAddress ||
                (section.rawSize && section.rawOffset + std::uint64_t{section.rawSize} > rsrc.rawOffset))
                return failure(ResourceSectionProblem::damagedHeaders);
            continue;
        }
        if (i == resources)
            continue;
        if (section.virtualAddress <= rsrc.virtualAddress ||
            (section.rawSize && section.rawOffset < rsrc.rawOffset + std::uint64_t{rsrc.rawSize}))
            return failure(ResourceSectionProblem::damagedHeaders);
        if (relocations.address == 0 || !contains(section, relocations.address) ||
            relocations.address != section.virtualAddress)
            return failure(ResourceSectionProblem::sectionCannotMove, section.name);
    }
    for (std::size_t index = 0; index < layout.directories.size(); ++index) {
        const PeDirectory directory = layout.directories[index];
        if (index == kDirectoryResources || index == kDirectorySecurity ||
            index == kDirectoryRelocations || directory.address == 0 ||
            directory.address < rsrc.virtualAddress)
            continue;
        // Something else (imports, exports, debug data) lies in or after the resources.
        const auto holder = std::find_if(layout.sections.begin(), layout.sections.end(),
                                         [&](const PeSection& s) { return contains(s, directory.address); });
        return failure(ResourceSectionProblem::sectionCannotMove,
                       holder == layout.sections.end() ? rsrc.name : holder->name);
    }
    if (contains(rsrc, relocations.address))
        return failure(ResourceSectionProblem::sectionCannotMove, rsrc.name);
    return {};
}

} // namespace

ResourceSectionResult withResources(std::span<const std::uint8_t> image,
                                    std::span<const ResourceEntry> resources) {
    const std::optional<PeLayout> read = readPeLayout(image);
    if (!read)
        return failure(ResourceSectionProblem::damagedHeaders);
    const PeLayout& layout = *read;
    const PeDirectory directory = directoryOf(layout, kDirectoryResources);
    const auto found = std::find_if(layout.sections.begin(), layout.sections.end(), [&](const PeSection& s) {
        return directory.address != 0 && s.virtualAddress == directory.address;
    });
    if (found == layout.sections.end())
        return failure(ResourceSectionProblem::noResourceSection);
    const PeDirectory security = directoryOf(layout, kDirectorySecurity);
    if (security.address != 0 || security.size != 0)
        return failure(ResourceSectionProblem::signed_);
    const std::size_t index = static_cast<std::size_t>(found - layout.sections.begin());
    if (ResourceSectionResult check = checkMovable(layout, index);
        check.problem != ResourceSectionProblem::none)
        return check;

    const PeSection& rsrc = *found;
    const std::vector<std::uint8_t> section = buildResourceSection(resources, rsrc.virtualAddress);
    const std::uint64_t newRawSize = alignUp(section.size(), layout.fileAlignment);

    // Where the program's bytes end: anything after them (data appended to the launcher) is
    // carried over behind the moved sections.
    const std::uint64_t programEnd = std::min<std::uint64_t>(endOfProgramData(layout), image.size());
    // The headers stay as they are, so the section's data must come after them.
    if (rsrc.rawOffset > programEnd || rsrc.rawOffset < layout.sectionTableEnd)
        return failure(ResourceSectionProblem::damagedHeaders);

    ResourceSectionResult result;
    std::vector<std::uint8_t>& out = result.image;
    out.assign(image.begin(), image.begin() + rsrc.rawOffset);
    out.insert(out.end(), section.begin(), section.end());
    out.resize(rsrc.rawOffset + newRawSize, 0);
    writeLe32(out, rsrc.header + 8, static_cast<std::uint32_t>(section.size()));
    writeLe32(out, rsrc.header + 16, static_cast<std::uint32_t>(newRawSize));

    std::uint64_t nextAddress = alignUp(rsrc.virtualAddress + std::uint64_t{section.size()},
                                        layout.sectionAlignment);
    std::uint64_t imageEnd = nextAddress;
    const PeDirectory relocations = directoryOf(layout, kDirectoryRelocations);
    for (std::size_t i = index + 1; i < layout.sections.size(); ++i) {
        const PeSection& later = layout.sections[i];
        if (later.rawSize) {
            const std::uint64_t offset = alignUp(out.size(), layout.fileAlignment);
            out.resize(offset, 0);
            out.insert(out.end(), image.begin() + later.rawOffset,
                       image.begin() + later.rawOffset + later.rawSize);
            writeLe32(out, later.header + 20, static_cast<std::uint32_t>(offset));
        }
        if (later.virtualAddress == relocations.address)
            writeLe32(out, layout.directoryTable + kDirectoryRelocations * 8,
                      static_cast<std::uint32_t>(nextAddress));
        writeLe32(out, later.header + 12, static_cast<std::uint32_t>(nextAddress));
        nextAddress = alignUp(nextAddress + extentOf(later), layout.sectionAlignment);
        imageEnd = nextAddress;
    }
    for (std::size_t i = 0; i < index; ++i)
        imageEnd = std::max(imageEnd, alignUp(layout.sections[i].virtualAddress +
                                                  extentOf(layout.sections[i]),
                                              layout.sectionAlignment));

    const std::uint64_t newProgramEnd = out.size();
    out.insert(out.end(), image.begin() + static_cast<std::ptrdiff_t>(programEnd), image.end());
    if (out.size() > kLimit || imageEnd > kLimit)
        return failure(ResourceSectionProblem::tooLarge);

    writeLe32(out, layout.directoryTable + kDirectoryResources * 8 + 4,
              static_cast<std::uint32_t>(section.size()));
    writeLe32(out, layout.optionalHeader + kSizeOfImage, static_cast<std::uint32_t>(imageEnd));
    // The linker's sum over the initialized sections, whichever it counted: changed by what the
    // resource section gained or lost.
    const std::uint32_t initialized = readLe32(image, layout.optionalHeader + kSizeOfInitializedData);
    writeLe32(out, layout.optionalHeader + kSizeOfInitializedData,
              static_cast<std::uint32_t>(initialized + newRawSize - rsrc.rawSize));
    const std::uint32_t symbols = readLe32(image, layout.fileHeader + kPointerToSymbolTable);
    if (symbols != 0 && symbols >= programEnd)
        writeLe32(out, layout.fileHeader + kPointerToSymbolTable,
                  static_cast<std::uint32_t>(symbols - programEnd + newProgramEnd));
    return result;
}
