// What the stamping tool needs to know of a PE file's bytes: whether it is an executable it
// can stamp, its checksum, and its signature. All of it is read through the one PE reader
// (PeLayout.h), which checks every field against the bytes, since any file may be handed to
// the tool.
#pragma once

#include "runtime/RuntimeArchitecture.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

enum class ExecutableProblem {
    none,
    notPe,          // no MZ header, or no PE signature where it points
    damaged,        // a PE signature, but headers or a section table cut short or damaged
    notApplication, // a DLL, or not marked as an executable image
    wrongMachine    // built as none of the launchers is
};

struct ExecutableCheck {
    ExecutableProblem problem = ExecutableProblem::none;
    LauncherBuild build = LauncherBuild::x64; // when the problem is none
};

// A launcher can be any build of it (kLauncherBuilds); all are stamped alike.
[[nodiscard]] ExecutableCheck checkExecutable(std::span<const std::uint8_t> image);

// The file offset of the optional header's CheckSum field (the same in PE32 and PE32+).
[[nodiscard]] std::optional<std::size_t> checksumOffset(std::span<const std::uint8_t> image);

// The PE checksum of the file bytes: 16-bit one's-complement-style sum of the whole file with
// the CheckSum field counted as zero, plus the file length.
[[nodiscard]] std::uint32_t peChecksum(std::span<const std::uint8_t> image,
                                       std::size_t checksumFieldOffset);

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
