#include "Subsystem.h"

#include "ByteReading.h"
#include "PeImage.h"
#include "jvm/PeHeaders.h"

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
    // The field the launcher itself reads at start, located the same way.
    const std::uint16_t value = peSubsystem(image).value_or(0);
    if (value == kSubsystemWindows)
        return Subsystem::windows;
    if (value == kSubsystemConsole)
        return Subsystem::console;
    return std::nullopt;
}

bool setImageSubsystem(std::span<std::uint8_t> image, Subsystem subsystem) {
    const std::optional<std::size_t> field = peSubsystemOffset(image);
    const std::optional<std::size_t> checksumField = checksumOffset(image);
    if (!field || !checksumField)
        return false;
    writeLe16(image, *field, subsystem == Subsystem::console ? kSubsystemConsole : kSubsystemWindows);
    writeLe32(image, *checksumField, peChecksum(image, *checksumField));
    return true;
}
