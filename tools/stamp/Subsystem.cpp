#include "Subsystem.h"

#include "ByteReading.h"
#include "PeImage.h"
#include "PeLayout.h"

namespace {

// At the same offset in PE32 and PE32+ optional headers.
constexpr std::size_t kSubsystemInOptionalHeader = 68;
constexpr std::uint16_t kSubsystemWindows = 2;
constexpr std::uint16_t kSubsystemConsole = 3;

std::optional<std::size_t> subsystemField(std::span<const std::uint8_t> image) {
    const std::optional<PeLayout> layout = readPeLayout(image);
    if (!layout)
        return std::nullopt;
    return layout->optionalHeader + kSubsystemInOptionalHeader;
}

} // namespace

std::optional<Subsystem> parseSubsystem(std::wstring_view text) {
    if (text == L"windows")
        return Subsystem::windows;
    if (text == L"console")
        return Subsystem::console;
    return std::nullopt;
}

const wchar_t* subsystemName(Subsystem subsystem) {
    return subsystem == Subsystem::console ? L"console" : L"windows";
}

std::optional<Subsystem> imageSubsystem(std::span<const std::uint8_t> image) {
    const auto field = subsystemField(image);
    const std::uint16_t value = field ? readLe16(image, *field) : 0;
    if (value == kSubsystemWindows)
        return Subsystem::windows;
    if (value == kSubsystemConsole)
        return Subsystem::console;
    return std::nullopt;
}

bool setImageSubsystem(std::span<std::uint8_t> image, Subsystem subsystem) {
    const auto field = subsystemField(image);
    const std::optional<std::size_t> checksumField = checksumOffset(image);
    if (!field || !checksumField)
        return false;
    writeLe16(image, *field, subsystem == Subsystem::console ? kSubsystemConsole : kSubsystemWindows);
    writeLe32(image, *checksumField, peChecksum(image, *checksumField));
    return true;
}
