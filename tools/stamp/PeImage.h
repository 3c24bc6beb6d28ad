// What the stamping tool needs to know of a PE file's bytes: whether it is an executable it
// can stamp, its checksum, and its resource directory's time stamps. Every read is checked
// against the bytes, since any file may be handed to the tool.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

enum class ExecutableProblem {
    none,
    notPe,          // no MZ header, no PE signature where it points, or headers cut short
    notApplication, // a DLL, or not marked as an executable image
    wrongMachine    // neither a 32-bit x86 nor a 64-bit x64 image
};

struct ExecutableCheck {
    ExecutableProblem problem = ExecutableProblem::none;
    bool is64Bit = false;
};

// A launcher can be a 32-bit or a 64-bit build; both are stamped alike.
[[nodiscard]] ExecutableCheck checkExecutable(std::span<const std::uint8_t> image);

// The file offset of the optional header's CheckSum field (the same in PE32 and PE32+).
[[nodiscard]] std::optional<std::size_t> checksumOffset(std::span<const std::uint8_t> image);

// The PE checksum of the file bytes: 16-bit one's-complement-style sum of the whole file with
// the CheckSum field counted as zero, plus the file length.
[[nodiscard]] std::uint32_t peChecksum(std::span<const std::uint8_t> image,
                                       std::size_t checksumFieldOffset);

// Sets the TimeDateStamp of every directory of the resource tree to zero, so that writing the
// same resources twice gives the same bytes whatever time the resource writer put there.
// False when the image has no resource directory or its tree leaves the resource section.
[[nodiscard]] bool clearResourceTimestamps(std::span<std::uint8_t> image);

// An Authenticode signature: the certificate table that the security directory points at.
// Unlike every other directory, it gives a file offset, not an address in the image, and
// the table lies outside the sections, normally at the very end of the file.
struct CertificateTable {
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
};

// None when the security directory is absent or all zero: the file is not signed.
[[nodiscard]] std::optional<CertificateTable> certificateTable(std::span<const std::uint8_t> image);

// Drops the certificate table's bytes and clears the security directory; the checksum is
// left for the caller to recompute. False, the image unchanged, when the table does not lie
// wholly inside the file after the headers and the sections' data: removing such bytes would
// cut into the program itself.
[[nodiscard]] bool removeCertificateTable(std::vector<std::uint8_t>& image);
