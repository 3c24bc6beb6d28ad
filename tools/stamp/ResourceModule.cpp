#include "ResourceModule.h"

#include <algorithm>

bool ResourceModule::open(std::span<const std::uint8_t> image, ResourceTreeProblem& problem) {
    ResourceTree tree = readResourceTree(image);
    problem = tree.problem;
    entries_ = std::move(tree.entries);
    return problem == ResourceTreeProblem::none;
}

std::vector<ResourceName> ResourceModule::names(const ResourceName& type) const {
    std::vector<ResourceName> found;
    for (const ResourceEntry& entry : entries_)
        if (entry.type == type && std::find(found.begin(), found.end(), entry.name) == found.end())
            found.push_back(entry.name);
    return found;
}

std::vector<std::uint16_t> ResourceModule::languages(const ResourceName& type,
                                                     const ResourceName& name) const {
    std::vector<std::uint16_t> found;
    for (const ResourceEntry& entry : entries_)
        if (entry.type == type && entry.name == name)
            found.push_back(entry.language);
    return found;
}

std::optional<std::vector<std::uint8_t>>
ResourceModule::bytes(const ResourceName& type, const ResourceName& name,
                      std::uint16_t language) const {
    for (const ResourceEntry& entry : entries_)
        if (entry.type == type && entry.name == name && entry.language == language)
            return entry.data;
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ResourceModule::bytes(const ResourceName& type,
                                                               const ResourceName& name) const {
    for (const ResourceEntry& entry : entries_)
        if (entry.type == type && entry.name == name)
            return entry.data;
    return std::nullopt;
}
