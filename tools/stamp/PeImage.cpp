#include "PeImage.h"

#include "ByteReading.h"
#include "PeLayout.h"
#include "jvm/PeHeaders.h"

namespace {

constexpr std::uint16_t kExecutableImage = 0x0002;
constexpr std::uint16_t kDll = 0x2000;

} // namespace

ExecutableCheck checkExecutable(std::span<const std::uint8_t> image) {
    ExecutableCheck check;
    const std::optional<PeLayout> layout = readPeLayout(image);
    if (!layout) {
        check.problem = ntHeadersOffset(image) ? ExecutableProblem::damaged : ExecutableProblem::notPe;
        return check;
    }
    const std::optional<LauncherBuild> build = launcherBuildOf(layout->machine, layout->is64Bit);
    if (!(layout->characteristics & kExecutableImage) || (layout->characteristics & kDll))
        check.problem = ExecutableProblem::notApplication;
    else if (!build)
        check.problem = ExecutableProblem::wrongMachine;
    else
        check.build = *build;
    return check;
}

std::optional<std::size_t> checksumOffset(std::span<const std::uint8_t> image) {
    const std::optional<PeLayout> layout = readPeLayout(image);
    if (!layout)
        return std::nullopt;
    return checksumField(*layout);
}

std::uint32_t peChecksum(std::span<const std::uint8_t> image, std::size_t checksumFieldOffset) {
    // The field's own bytes count as zero; an odd last byte is a word whose high byte is zero.
    const auto byteAt = [&](std::size_t i) -> std::uint32_t {
        if (i >= image.size() || (i >= checksumFieldOffset && i - checksumFieldOffset < 4))
            return 0;
        return image[i];
    };
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < image.size(); i += 2) {
        sum += byteAt(i) | byteAt(i + 1) << 8;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint32_t>(sum + image.size());
}

std::optional<CertificateTable> certificateTable(std::span<const std::uint8_t> image) {
    const std::optional<PeLayout> layout = readPeLayout(image);
    if (!layout)
        return std::nullopt;
    const PeDirectory security = directoryOf(*layout, kDirectorySecurity);
    if (security.address == 0 && security.size == 0)
        return std::nullopt;
    return CertificateTable{security.address, security.size};
}

bool removeCertificateTable(std::vector<std::uint8_t>& image) {
    const std::optional<PeLayout> layout = readPeLayout(image);
    if (!layout || layout->directories.size() <= kDirectorySecurity)
        return false;
    const PeDirectory table = layout->directories[kDirectorySecurity];
    // In 64 bits: two 32-bit fields, and offsets that a 32-bit size_t would wrap.
    const std::uint64_t end = std::uint64_t{table.address} + table.size;
    if (table.size == 0 || table.address < endOfProgramData(*layout) || end > image.size())
        return false;
    image.erase(image.begin() + static_cast<std::ptrdiff_t>(table.address),
                image.begin() + static_cast<std::ptrdiff_t>(end));
    const std::size_t entry = layout->directoryTable + kDirectorySecurity * 8;
    writeLe32(image, entry, 0);
    writeLe32(image, entry + 4, 0);
    return true;
}
