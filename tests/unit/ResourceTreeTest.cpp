// The resource tree as the tool reads it from an image and writes it back, and the image with
// its resource section rebuilt: sizes, moved sections and refusals.
#include "PeTestImage.h"
#include "PeImage.h"
#include "ResourceSection.h"
#include "ResourceTree.h"
#include "Subsystem.h"

#include <gtest/gtest.h>

namespace {

using namespace pe_test;

// One type and 256 names, all named by one string of 65,535 units, every name sharing one
// directory of 256 languages whose data is empty.
std::vector<std::uint8_t> longNameTree() {
    constexpr std::size_t kNames = 24, kLanguages = kNames + 16 + 256 * 8, kData = kLanguages + 16 + 256 * 8,
                          kString = kData + 16;
    std::vector<std::uint8_t> tree(kString + 2 + 2 * 0xFFFF, 'n');
    std::fill(tree.begin(), tree.begin() + kString, 0);
    put16(tree, 12, 1);
    put32(tree, 16, 0x80000000 | kString);
    put32(tree, 20, 0x80000000 | kNames);
    put16(tree, kNames + 12, 256);
    put16(tree, kLanguages + 14, 256);
    for (std::uint32_t i = 0; i < 256; ++i) {
        put32(tree, kNames + 16 + i * 8, 0x80000000 | kString);
        put32(tree, kNames + 20 + i * 8, 0x80000000 | kLanguages);
        put32(tree, kLanguages + 16 + i * 8, i);
        put32(tree, kLanguages + 20 + i * 8, kData);
    }
    put16(tree, kString, 0xFFFF);
    return tree;
}

std::vector<ResourceEntry> sample() {
    return {{24, 1, 0x409, data("<assembly/>")},
            {10, L"QOVA_LAUNCHER", 0, data(std::string("\1\0", 2))},
            {3, 2, 0, data("second image")},
            {3, 1, 0, data("first image, of an odd length")},
            {10, L"QOVA_SETTINGS", 0, data("\xFF\xFE[")},
            {6, 7, 0x409, {}},
            {6, 7, 0x407, data("Deutsch")},
            {L"CUSTOM", L"A", 0, data("custom type")}};
}

std::string key(const ResourceEntry& entry) {
    const auto name = [](const ResourceName& n) {
        return n.id ? std::to_string(n.id) : std::string(n.text.begin(), n.text.end());
    };
    return name(entry.type) + "/" + name(entry.name) + "/" + std::to_string(entry.language) +
           "=" + std::string(entry.data.begin(), entry.data.end());
}

std::vector<std::string> keys(const std::vector<ResourceEntry>& entries) {
    std::vector<std::string> all;
    for (const ResourceEntry& entry : entries)
        all.push_back(key(entry));
    return all;
}

// Catches entries linked to the wrong directory or data, and an order the loader's binary
// search would miss: string names first, then numbers ascending, languages ascending.
TEST(ResourceTree, ReadsBackWhatItWroteInTheLoadersOrder) {
    const ResourceTree tree = readResourceTree(image(sample()));
    ASSERT_EQ(tree.problem, ResourceTreeProblem::none);
    const std::vector<std::string> expected = {
        "CUSTOM/A/0=custom type",       "3/1/0=first image, of an odd length",
        "3/2/0=second image",           "6/7/1031=Deutsch",
        "6/7/1033=",                    "10/QOVA_LAUNCHER/0=" + std::string("\1\0", 2),
        "10/QOVA_SETTINGS/0=\xFF\xFE[", "24/1/1033=<assembly/>"};
    EXPECT_EQ(keys(tree.entries), expected);
}

// Catches a tree that reads data out of bounds, loops, or multiplies shared directories.
TEST(ResourceTree, RefusesDamagedTrees) {
    const std::vector<std::uint8_t> good = image({{3, 1, 0, data("x")}});
    const std::size_t tree = sectionFields(good, 1).rawOffset;
    struct Case {
        const char* name;
        std::size_t offset; // inside the tree
        std::uint32_t value;
        ResourceTreeProblem problem;
    };
    // The tree: root at 0 (entry at 16), type directory at 24 (entry at 40), name directory at
    // 48 (entry at 64), the data entry at 72.
    const Case cases[] = {
        {"type directory outside the section", 20, 0x80100000, ResourceTreeProblem::outsideImage},
        {"entry count past the end", 12, 0xFFFF0001, ResourceTreeProblem::outsideImage},
        {"data where a directory belongs", 20, 72, ResourceTreeProblem::badShape},
        {"a fourth level", 68, 0x80000000, ResourceTreeProblem::badShape},
        {"a language with a string name", 64, 0x80000010, ResourceTreeProblem::badShape},
        {"a name string outside the section", 40, 0x8000FFF0, ResourceTreeProblem::outsideImage},
        {"data outside the image", 72, 0x00F00000, ResourceTreeProblem::outsideImage},
        {"data larger than the image", 76, 0x7FFFFFFF, ResourceTreeProblem::outsideImage},
        {"the name directory pointing at the root", 44, 0x80000000, ResourceTreeProblem::badShape},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bad = good;
        put32(bad, tree + c.offset, c.value);
        const ResourceTree read = readResourceTree(bad);
        EXPECT_EQ(read.problem, c.problem) << c.name;
        EXPECT_TRUE(read.entries.empty()) << c.name;
    }

    // 200 type entries all sharing one name directory of 200 entries sharing one language
    // directory of 200 entries: 8 million resources claimed by a few kilobytes.
    std::vector<std::uint8_t> bomb = good;
    const std::size_t directory = 0x10;
    put32(bomb, kDirectories + 16, kResourceAddress + directory);
    bomb.resize(tree + 0x200 + 0x1000, 0);
    put32(bomb, kSections + 40 + 16, 0x1200);
    put32(bomb, kSections + 40 + 8, 0x1200);
    std::vector<std::uint8_t> table(16 + 200 * 8, 0);
    put16(table, 14, 200);
    for (std::size_t i = 0; i < 200; ++i) {
        put32(table, 16 + i * 8, static_cast<std::uint32_t>(i + 1));
        put32(table, 20 + i * 8, 0x80000000 | directory);
    }
    std::copy(table.begin(), table.end(), bomb.begin() + static_cast<std::ptrdiff_t>(tree + directory));
    const ResourceTree exploded = readResourceTree(bomb);
    EXPECT_NE(exploded.problem, ResourceTreeProblem::none);

    // Catches names copied per resource without a bound: 135 KB that ask for 65,536 copies of a
    // 65,535-unit type name and name (16 GiB of UTF-16) before the duplicates are seen.
    EXPECT_EQ(readResourceTree(imageWithTree(longNameTree())).problem,
              ResourceTreeProblem::tooLarge);
}

TEST(ResourceTree, RefusesTheSameResourceTwice) {
    std::vector<std::uint8_t> twice = image({{3, 1, 0, data("a")}, {3, 2, 0, data("b")}});
    const std::size_t tree = sectionFields(twice, 1).rawOffset;
    put32(twice, tree + 24 + 16 + 8, 1); // the second name entry renamed to the first's id
    EXPECT_EQ(readResourceTree(twice).problem, ResourceTreeProblem::badShape);
}

// Catches a rebuild that leaves the relocations where the grown resources now are, forgets
// a size in the headers, or loses what was appended to the file.
TEST(ResourceSection, GrownResourcesMoveTheRelocationsAndEverySizeFollows) {
    const std::vector<std::uint8_t> before = image(sample(), {".reloc"}, "APPENDED");
    std::vector<ResourceEntry> grown = sample();
    grown.push_back({10, 99, 0, std::vector<std::uint8_t>(0x1500, 'g')});
    const ResourceSectionResult result = withResources(before, grown);
    ASSERT_EQ(result.problem, ResourceSectionProblem::none);
    const std::vector<std::uint8_t>& after = result.image;

    const SectionFields rsrc = sectionFields(after, 1);
    const SectionFields reloc = sectionFields(after, 2);
    EXPECT_EQ(rsrc.address, kResourceAddress);
    EXPECT_GE(rsrc.virtualSize, 0x1500u);
    EXPECT_EQ(rsrc.rawSize, (rsrc.virtualSize + 0x1FF) / 0x200 * 0x200);
    EXPECT_EQ(get32(after, kDirectories + 20), rsrc.virtualSize);
    EXPECT_EQ(reloc.address, (kResourceAddress + rsrc.virtualSize + 0xFFF) / 0x1000 * 0x1000);
    EXPECT_EQ(reloc.rawOffset, rsrc.rawOffset + rsrc.rawSize);
    EXPECT_EQ(get32(after, kDirectories + 40), reloc.address);
    EXPECT_EQ(get32(after, kOptional + 56), reloc.address + 0x1000); // SizeOfImage
    EXPECT_EQ(get32(after, kOptional + 8), rsrc.rawSize + reloc.rawSize);
    EXPECT_EQ(after[reloc.rawOffset + 1], 0x10); // the relocation block itself, unchanged
    EXPECT_EQ(std::string(after.end() - 8, after.end()), "APPENDED");

    const ResourceTree read = readResourceTree(after);
    ASSERT_EQ(read.problem, ResourceTreeProblem::none);
    EXPECT_EQ(read.entries.size(), grown.size());

    // And back: the same bytes as an image that never grew.
    const ResourceSectionResult shrunk = withResources(after, sample());
    ASSERT_EQ(shrunk.problem, ResourceSectionProblem::none);
    EXPECT_EQ(shrunk.image, withResources(before, sample()).image);
}

TEST(ResourceSection, RefusesWhatItCannotRebuildSoundly) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> image;
        ResourceSectionProblem problem;
        std::string section;
    };
    std::vector<std::uint8_t> signedImage = image(sample());
    put32(signedImage, kDirectories + 32, static_cast<std::uint32_t>(signedImage.size()));
    put32(signedImage, kDirectories + 36, 8);
    std::vector<std::uint8_t> offStart = image(sample());
    put32(offStart, kDirectories + 16, kResourceAddress + 16);
    std::vector<std::uint8_t> badAlignment = image(sample());
    put32(badAlignment, kOptional + 36, 0x300);
    const Case cases[] = {
        {"imports after the resources", image(sample(), {".idata", ".reloc"}),
         ResourceSectionProblem::sectionCannotMove, ".idata"},
        {"still signed", signedImage, ResourceSectionProblem::signed_, ""},
        {"resources inside another section", offStart, ResourceSectionProblem::noResourceSection, ""},
        {"a file alignment no loader takes", badAlignment, ResourceSectionProblem::damagedHeaders, ""},
    };
    for (const Case& c : cases) {
        const ResourceSectionResult result = withResources(c.image, sample());
        EXPECT_EQ(result.problem, c.problem) << c.name;
        EXPECT_EQ(result.section, c.section) << c.name;
        EXPECT_TRUE(result.image.empty()) << c.name;
    }
    // The last section needs nothing moved.
    EXPECT_EQ(withResources(image(sample(), {}), sample()).problem, ResourceSectionProblem::none);
}

// Catches the field written at the wrong offset or a checksum left stale.
TEST(Subsystem, SetsTheFieldOfTheOptionalHeaderAndTheChecksum) {
    std::vector<std::uint8_t> bytes = image(sample());
    EXPECT_EQ(imageSubsystem(bytes), Subsystem::windows);
    ASSERT_TRUE(setImageSubsystem(bytes, Subsystem::console));
    EXPECT_EQ(bytes[kOptional + 68], 3);
    EXPECT_EQ(imageSubsystem(bytes), Subsystem::console);
    EXPECT_EQ(get32(bytes, kOptional + 64), peChecksum(bytes, kOptional + 64));
    std::vector<std::uint8_t> text(0x200, 'x');
    EXPECT_FALSE(setImageSubsystem(text, Subsystem::console));
    EXPECT_EQ(text, std::vector<std::uint8_t>(0x200, 'x'));
}

} // namespace
