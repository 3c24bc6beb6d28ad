// A PE image with its resource section rebuilt from a list of resources: the section takes
// the size the resources need, the sections after it move, and every size in the headers that
// depends on them follows. The checksum is left for the caller, who may change more bytes.
#pragma once

#include "ResourceTree.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

enum class ResourceSectionProblem {
    none,
    damagedHeaders,     // the headers or the section table do not read as an image's
    noResourceSection,  // the resource directory does not start a section of its own
    sectionCannotMove,  // a section after the resources is one whose addresses others refer to
    signed_,            // a certificate table still covers the bytes
    tooLarge            // the image would pass 4 GiB
};

struct ResourceSectionResult {
    std::vector<std::uint8_t> image; // empty when there is a problem
    ResourceSectionProblem problem = ResourceSectionProblem::none;
    std::string section; // the section that cannot move
};

[[nodiscard]] ResourceSectionResult withResources(std::span<const std::uint8_t> image,
                                                  std::span<const ResourceEntry> resources);
