// The stamping tool's checks of a PE file, its checksum and its signature.
#include "PeImage.h"
#include "Subsystem.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    put16(bytes, at, static_cast<std::uint16_t>(value));
    put16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

constexpr std::size_t kNt = 0x80;
constexpr std::size_t kOptional = kNt + 24;
constexpr std::size_t kTree = 0x200; // file offset of the resource section (RVA 0x1000)

// A small image with one section holding a three-level resource tree, every directory stamped
// with a time: type 3, name 1, language 0x409.
std::vector<std::uint8_t> image(bool is64Bit, std::uint16_t machine,
                                std::uint16_t characteristics) {
    std::vector<std::uint8_t> bytes(0x400, 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    put32(bytes, 0x3C, kNt);
    put32(bytes, kNt, 0x00004550);
    put16(bytes, kNt + 4, machine);
    put16(bytes, kNt + 6, 1); // sections
    const std::uint16_t optionalSize = is64Bit ? 0xF0 : 0xE0;
    put16(bytes, kNt + 20, optionalSize);
    put16(bytes, kNt + 22, characteristics);
    put16(bytes, kOptional, is64Bit ? 0x20B : 0x10B);
    put32(bytes, kOptional + 32, 0x1000); // section alignment
    put32(bytes, kOptional + 36, 0x200);  // file alignment
    const std::size_t directories = kOptional + (is64Bit ? 112 : 96);
    put32(bytes, directories - 4, 16);
    put32(bytes, directories + 16, 0x1000); // resources: RVA, size
    put32(bytes, directories + 20, 0x60);
    const std::size_t section = kOptional + optionalSize;
    put32(bytes, section + 8, 0x60);    // virtual size
    put32(bytes, section + 12, 0x1000); // RVA
    put32(bytes, section + 16, 0x200);  // raw size
    put32(bytes, section + 20, kTree);  // raw offset
    for (const std::size_t directory : {0x00, 0x18, 0x30}) {
        put32(bytes, kTree + directory + 4, 0x5F000000); // time stamp
        put16(bytes, kTree + directory + 14, 1);         // one id entry
    }
    put32(bytes, kTree + 0x10, 3);
    put32(bytes, kTree + 0x14, 0x80000018);
    put32(bytes, kTree + 0x28, 1);
    put32(bytes, kTree + 0x2C, 0x80000030);
    put32(bytes, kTree + 0x40, 0x409);
    put32(bytes, kTree + 0x44, 0x48); // data entry
    return bytes;
}

constexpr std::uint16_t kExe = 0x0022;

// Catches a launcher build refused or a foreign image taken (the machines come from the
// launchers' own table), and a section whose offset plus size wraps 32 bits read as if it lay
// inside the file.
TEST(PeImage, AcceptsEveryLauncherBuild) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        ExecutableProblem problem;
        LauncherBuild build = LauncherBuild::x64;
    };
    std::vector<std::uint8_t> cut = image(true, 0x8664, kExe);
    cut.resize(kOptional + 0x20); // optional header cut short
    std::vector<std::uint8_t> wrapped = image(true, 0xAA64, kExe);
    put32(wrapped, kOptional + 0xF0 + 16, 0x400);      // raw size
    put32(wrapped, kOptional + 0xF0 + 20, 0xFFFFFE00); // raw offset: the sum wraps to 0x200
    std::vector<std::uint8_t> text(0x400, 'x');
    const Case cases[] = {
        {"x64", image(true, 0x8664, kExe), ExecutableProblem::none, LauncherBuild::x64},
        {"x86", image(false, 0x014C, kExe), ExecutableProblem::none, LauncherBuild::x86},
        {"ARM64", image(true, 0xAA64, kExe), ExecutableProblem::none, LauncherBuild::arm64},
        {"DLL", image(true, 0x8664, kExe | 0x2000), ExecutableProblem::notApplication},
        {"object, not an image", image(true, 0x8664, 0), ExecutableProblem::notApplication},
        {"ARM32", image(false, 0x01C4, kExe), ExecutableProblem::wrongMachine},
        {"x64 machine with a 32-bit header", image(false, 0x8664, kExe),
         ExecutableProblem::wrongMachine},
        {"ARM64 machine with a 32-bit header", image(false, 0xAA64, kExe),
         ExecutableProblem::wrongMachine},
        {"optional header cut", cut, ExecutableProblem::damaged},
        {"section offset plus size wrapping 32 bits", wrapped, ExecutableProblem::damaged},
        {"text", text, ExecutableProblem::notPe},
        {"empty", {}, ExecutableProblem::notPe},
    };
    for (const Case& c : cases) {
        const ExecutableCheck check = checkExecutable(c.bytes);
        EXPECT_EQ(check.problem, c.problem) << c.name;
        if (c.problem == ExecutableProblem::none)
            EXPECT_EQ(check.build, c.build) << c.name;
    }
}

TEST(PeImage, ChecksumSumsWordsWithCarriesAndAddsTheLength) {
    // Far from the data, the field does not matter; hand-computed sums.
    EXPECT_EQ(peChecksum(std::vector<std::uint8_t>{1, 2, 3}, 100), 0x0201u + 0x0003u + 3u);
    EXPECT_EQ(peChecksum(std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}, 100), 0xFFFFu + 4u);
    EXPECT_EQ(peChecksum(std::vector<std::uint8_t>{}, 0), 0u);

    std::vector<std::uint8_t> bytes = image(true, 0x8664, kExe);
    const std::optional<std::size_t> field = checksumOffset(bytes);
    ASSERT_EQ(field, kOptional + 64);
    const std::uint32_t sum = peChecksum(bytes, *field);
    // The field's own content is not summed, so writing the sum in leaves it the same.
    put32(bytes, *field, sum);
    EXPECT_EQ(peChecksum(bytes, *field), sum);
    bytes[0x300] ^= 1;
    EXPECT_NE(peChecksum(bytes, *field), sum);
    EXPECT_EQ(checksumOffset(std::vector<std::uint8_t>(64, 0)), std::nullopt);
}

// Faults caught: the field written at the wrong offset or width, the checksum left stale (a
// checked loader refuses such an image), and a cut header written into regardless.
TEST(PeImage, SubsystemEditSetsTheFieldThenTheChecksum) {
    for (const bool is64Bit : {true, false}) {
        SCOPED_TRACE(is64Bit ? "64-bit" : "32-bit");
        std::vector<std::uint8_t> bytes = image(is64Bit, is64Bit ? 0x8664 : 0x014C, kExe);
        put16(bytes, kOptional + 68, 2);
        put16(bytes, kOptional + 70, 0x8160); // DllCharacteristics, beside the field
        ASSERT_EQ(imageSubsystem(bytes), Subsystem::windows);
        ASSERT_TRUE(setImageSubsystem(bytes, Subsystem::console));
        EXPECT_EQ(imageSubsystem(bytes), Subsystem::console);
        EXPECT_EQ(bytes[kOptional + 68] | bytes[kOptional + 69] << 8, 3);
        EXPECT_EQ(bytes[kOptional + 70] | bytes[kOptional + 71] << 8, 0x8160);
        const std::size_t field = *checksumOffset(bytes);
        const std::uint32_t stored = bytes[field] | bytes[field + 1] << 8 | bytes[field + 2] << 16 |
                                     std::uint32_t{bytes[field + 3]} << 24;
        EXPECT_EQ(stored, peChecksum(bytes, field));
        ASSERT_TRUE(setImageSubsystem(bytes, Subsystem::windows));
        EXPECT_EQ(imageSubsystem(bytes), Subsystem::windows);
    }
    std::vector<std::uint8_t> cut = image(true, 0x8664, kExe);
    cut.resize(kOptional + 69);
    const std::vector<std::uint8_t> before = cut;
    EXPECT_FALSE(setImageSubsystem(cut, Subsystem::console));
    EXPECT_EQ(cut, before);
    std::vector<std::uint8_t> native = image(true, 0x8664, kExe);
    put16(native, kOptional + 68, 1); // a driver's subsystem is neither of a launcher's two
    EXPECT_EQ(imageSubsystem(native), std::nullopt);
}

// The image with a certificate table of `size` bytes appended and the security directory
// pointing at `offset`, as a signing tool leaves it.
std::vector<std::uint8_t> signedImage(bool is64Bit, std::uint32_t offset, std::uint32_t size) {
    std::vector<std::uint8_t> bytes = image(is64Bit, is64Bit ? 0x8664 : 0x014C, kExe);
    bytes.resize(bytes.size() + 0x30, 0xC5);
    const std::size_t security = kOptional + (is64Bit ? 112 : 96) + 4 * 8;
    put32(bytes, security, offset);
    put32(bytes, security + 4, size);
    return bytes;
}

TEST(PeImage, SignatureIsFoundAndRemovedWithItsDirectoryEntry) {
    for (const bool is64Bit : {true, false}) {
        SCOPED_TRACE(is64Bit);
        const std::vector<std::uint8_t> unsignedBytes =
            image(is64Bit, is64Bit ? 0x8664 : 0x014C, kExe);
        EXPECT_EQ(certificateTable(unsignedBytes), std::nullopt);

        std::vector<std::uint8_t> bytes = signedImage(is64Bit, 0x400, 0x30);
        const std::optional<CertificateTable> table = certificateTable(bytes);
        ASSERT_TRUE(table);
        EXPECT_EQ(table->offset, 0x400u);
        EXPECT_EQ(table->size, 0x30u);
        ASSERT_TRUE(removeCertificateTable(bytes));
        EXPECT_EQ(bytes, unsignedBytes);
        EXPECT_FALSE(removeCertificateTable(bytes));
    }
}

TEST(PeImage, SignatureThatWouldCutIntoTheProgramIsNotRemoved) {
    struct Case {
        const char* name;
        std::uint32_t offset;
        std::uint32_t size;
    };
    const Case cases[] = {
        {"inside the section's data", 0x3F0, 0x40},
        {"inside the headers", 0x100, 0x10},
        {"past the end of the file", 0x400, 0x31},
        {"wrapping around 32 bits", 0xFFFFFFF0, 0x20},
        {"an empty table", 0x400, 0},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = signedImage(true, c.offset, c.size);
        const std::vector<std::uint8_t> before = bytes;
        EXPECT_TRUE(certificateTable(bytes)) << c.name;
        EXPECT_FALSE(removeCertificateTable(bytes)) << c.name;
        EXPECT_EQ(bytes, before) << c.name;
    }
    // A header that lists only four directories has no security directory at all.
    std::vector<std::uint8_t> bytes = signedImage(true, 0x400, 0x30);
    put32(bytes, kOptional + 112 - 4, 4);
    EXPECT_EQ(certificateTable(bytes), std::nullopt);
}

} // namespace
