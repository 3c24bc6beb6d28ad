// An executable's resources, read from its bytes, with the look-ups the stamping tool makes.
#pragma once

#include "ResourceTree.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class ResourceModule {
  public:
    // False with the problem when the image's resource tree cannot be read.
    [[nodiscard]] bool open(std::span<const std::uint8_t> image, ResourceTreeProblem& problem);

    // Every resource of the file, in the order of the resource tree.
    const std::vector<ResourceEntry>& all() const { return entries_; }
    // Names of the resources of a type, in the order of the resource tree.
    std::vector<ResourceName> names(const ResourceName& type) const;
    std::vector<std::uint16_t> languages(const ResourceName& type, const ResourceName& name) const;
    // The bytes of one resource in one language; none when it is not there.
    std::optional<std::vector<std::uint8_t>> bytes(const ResourceName& type, const ResourceName& name,
                                                   std::uint16_t language) const;
    // The bytes in the first of its languages, as the tree orders them.
    std::optional<std::vector<std::uint8_t>> bytes(const ResourceName& type,
                                                   const ResourceName& name) const;

  private:
    std::vector<ResourceEntry> entries_;
};
