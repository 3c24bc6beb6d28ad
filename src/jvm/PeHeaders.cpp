#include "jvm/PeHeaders.h"

#include "launcher/LittleEndian.h"

namespace {

constexpr std::size_t kDosHeaderSize = 64;
constexpr std::size_t kNtHeadersPointerOffset = 0x3C;
constexpr std::size_t kSignatureSize = 4;
constexpr std::size_t kFileHeaderSize = 20;
constexpr std::size_t kOptionalHeaderSizeField = 16; // in the file header
constexpr std::size_t kSubsystemInOptionalHeader = 68;

} // namespace

std::optional<std::size_t> ntHeadersOffset(std::span<const std::uint8_t> image) {
    if (image.size() < kDosHeaderSize || image[0] != 'M' || image[1] != 'Z')
        return std::nullopt;
    // The pointer is a signed 32-bit field in the file: a hostile file may make it negative or
    // point anywhere, so it is checked against the bytes before anything behind it is read.
    const auto pointer = static_cast<std::int32_t>(readLittleEndian32(image, kNtHeadersPointerOffset));
    if (pointer < 0)
        return std::nullopt;
    const auto offset = static_cast<std::size_t>(pointer);
    if (offset > image.size() || image.size() - offset < kSignatureSize + kFileHeaderSize)
        return std::nullopt;
    if (readLittleEndian32(image, offset) != 0x00004550) // "PE\0\0"
        return std::nullopt;
    return offset;
}

std::optional<std::uint16_t> peMachine(std::span<const std::uint8_t> image) {
    const auto offset = ntHeadersOffset(image);
    if (!offset)
        return std::nullopt;
    return readLittleEndian16(image, *offset + kSignatureSize);
}

std::optional<std::size_t> peSubsystemOffset(std::span<const std::uint8_t> image) {
    const auto offset = ntHeadersOffset(image);
    if (!offset)
        return std::nullopt;
    const std::size_t optionalHeader = *offset + kSignatureSize + kFileHeaderSize;
    const std::size_t declaredSize =
        readLittleEndian16(image, *offset + kSignatureSize + kOptionalHeaderSizeField);
    // Both the header's own size and the bytes must reach past the field: a short optional
    // header is followed by the section table, whose bytes are no subsystem.
    if (declaredSize < kSubsystemInOptionalHeader + 2 ||
        image.size() - optionalHeader < kSubsystemInOptionalHeader + 2)
        return std::nullopt;
    return optionalHeader + kSubsystemInOptionalHeader;
}

std::optional<std::uint16_t> peSubsystem(std::span<const std::uint8_t> image) {
    const auto offset = peSubsystemOffset(image);
    if (!offset)
        return std::nullopt;
    return readLittleEndian16(image, *offset);
}
