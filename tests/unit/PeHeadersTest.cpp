// PE header checks over well-formed, truncated and hostile file bytes.
#include "jvm/PeHeaders.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace {

void put16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value) {
    bytes[offset] = static_cast<std::uint8_t>(value);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
    put16(bytes, offset, static_cast<std::uint16_t>(value));
    put16(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

// A minimal image: DOS header, NT headers at `ntOffset` with the given machine, `size` bytes.
std::vector<std::uint8_t> image(std::size_t size, std::uint32_t ntOffset, std::uint16_t machine) {
    std::vector<std::uint8_t> bytes(size, 0);
    if (size >= 2) {
        bytes[0] = 'M';
        bytes[1] = 'Z';
    }
    if (size >= 0x40)
        put32(bytes, 0x3C, ntOffset);
    if (ntOffset <= size && size - ntOffset >= 24) {
        put32(bytes, ntOffset, 0x00004550);
        put16(bytes, ntOffset + 4, machine);
    }
    return bytes;
}

struct PeCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::optional<std::uint16_t> machine;
};

std::vector<PeCase> peCases() {
    std::vector<PeCase> cases;
    cases.push_back({"x86 image", image(0x200, 0x80, kMachineI386), kMachineI386});
    cases.push_back({"x64 image", image(0x200, 0x80, kMachineAmd64), kMachineAmd64});
    // The NT headers may begin inside the DOS header itself; all that counts is the bytes.
    cases.push_back(
        {"headers overlapping the DOS header", image(0x58, 0x40, kMachineI386), kMachineI386});
    cases.push_back(
        {"file header ends exactly at the end", image(0x98, 0x80, kMachineI386), kMachineI386});
    cases.push_back({"empty file", {}, std::nullopt});
    cases.push_back({"only MZ", {'M', 'Z'}, std::nullopt});
    cases.push_back({"DOS header cut short", image(0x3F, 0x80, kMachineI386), std::nullopt});
    cases.push_back({"file header cut by one byte", image(0x97, 0x80, kMachineI386), std::nullopt});
    cases.push_back({"pointer at the very end", image(0x80, 0x80, kMachineI386), std::nullopt});
    cases.push_back({"pointer past the end", image(0x100, 0x1000, kMachineI386), std::nullopt});
    cases.push_back({"negative pointer", image(0x200, 0xFFFFFFF0u, kMachineI386), std::nullopt});
    cases.push_back({"pointer that wraps when added to", image(0x200, 0x7FFFFFFFu, kMachineI386),
                     std::nullopt});
    auto noMz = image(0x200, 0x80, kMachineI386);
    noMz[0] = 'Z';
    noMz[1] = 'M';
    cases.push_back({"no MZ", noMz, std::nullopt});
    auto wrongSignature = image(0x200, 0x80, kMachineI386);
    wrongSignature[0x82] = 'X';
    cases.push_back({"signature PE but not two zero bytes", wrongSignature, std::nullopt});
    auto newExecutable = image(0x200, 0x80, kMachineI386);
    newExecutable[0x80] = 'N';
    newExecutable[0x81] = 'E';
    cases.push_back({"16-bit NE image", newExecutable, std::nullopt});
    return cases;
}

TEST(PeHeaders, MachineOnlyForImagesWhoseHeadersLieInsideTheBytes) {
    for (const PeCase& c : peCases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(peMachine(c.bytes), c.machine);
        EXPECT_EQ(ntHeadersOffset(c.bytes).has_value(), c.machine.has_value());
    }
}

TEST(PeHeaders, OffsetIsTheDosHeaderPointer) {
    EXPECT_EQ(ntHeadersOffset(image(0x400, 0x108, kMachineAmd64)),
              std::optional<std::size_t>(0x108));
}

// An image whose optional header declares `declaredSize` bytes and holds `subsystem`; the
// file is cut after `size` bytes.
std::vector<std::uint8_t> imageWithSubsystem(std::size_t size, std::uint16_t declaredSize,
                                             std::uint16_t subsystem) {
    std::vector<std::uint8_t> bytes = image(0x400, 0x80, kMachineAmd64);
    put16(bytes, 0x80 + 20, declaredSize);
    put16(bytes, 0x80 + 24 + 68, subsystem);
    bytes.resize(size);
    return bytes;
}

// Faults caught: the field read at the wrong offset, read from a header too short to hold it
// (the section table's bytes), or read past the end of a cut file.
TEST(PeHeaders, SubsystemOnlyFromAnOptionalHeaderThatHoldsIt) {
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::optional<std::uint16_t> subsystem;
    } cases[] = {
        {"console", imageWithSubsystem(0x400, 240, kSubsystemConsole), kSubsystemConsole},
        {"windows", imageWithSubsystem(0x400, 224, kSubsystemWindows), kSubsystemWindows},
        {"header ends with the field", imageWithSubsystem(0x400, 70, kSubsystemConsole),
         kSubsystemConsole},
        {"header one byte short of the field", imageWithSubsystem(0x400, 69, kSubsystemConsole),
         std::nullopt},
        {"file ends with the field", imageWithSubsystem(0x80 + 24 + 70, 240, kSubsystemConsole),
         kSubsystemConsole},
        {"file cut inside the field", imageWithSubsystem(0x80 + 24 + 69, 240, kSubsystemConsole),
         std::nullopt},
        {"not a PE image", {'M', 'Z'}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(peSubsystem(c.bytes), c.subsystem);
    }
}

} // namespace
