// A file mapped read-only to look at its bytes (executable-image headers, a jar's directory)
// without loading it.
#pragma once

#include "launcher/UniqueHandle.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

class MappedImage {
  public:
    MappedImage() = default;
    MappedImage(const MappedImage&) = delete;
    MappedImage& operator=(const MappedImage&) = delete;

    // Maps the whole file; false (and nothing mapped) when it cannot be opened or mapped, as
    // for an empty file.
    [[nodiscard]] bool open(const std::wstring& path);
    // "MZ", then "PE\0\0" and a whole file header where the DOS header points, all inside
    // the file.
    [[nodiscard]] bool isPe() const;
    [[nodiscard]] bool isMachine(std::uint16_t machine) const;
    // The whole file; empty when nothing is mapped.
    [[nodiscard]] std::span<const std::uint8_t> bytes() const;
    // Unmaps the view, then closes the mapping, then the file.
    void close();

  private:
    // Declared in the order of opening, so that the destructor releases them in reverse.
    UniqueFile file_;
    UniqueHandle mapping_;
    UniqueMappedView view_;
    std::size_t size_ = 0;
};

// The machine field of the PE image at `path`, read without loading it; none for a file that
// cannot be read or is no PE image.
[[nodiscard]] std::optional<std::uint16_t> imageMachine(const std::wstring& path);
