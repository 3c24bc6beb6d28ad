#include "Subsystem.h"

#include "ByteReading.h"
#include "PeLayout.h"

namespace {

// At the same offset in PE32 and PE32+ optional headers.
constexpr std::size_t kSubsystemInOptionalHeader = 68;

std::optional<std::size_t> subsystemField(std::span<const std::uint8_t> image) {
    const std::optional<PeLayout> layout = readPeLayout(image);
    if (!layout)
        return std::nullopt;
    return layout->optionalHeader + kSubsystemInOptionalHeader;
}

} // namespace

std::optional<Subsystem> parseSubsystem(std::wstring_view text) {
    if (text == L"console")
        return Subsystem::console;
    if (text == L"windows")
        return Subsystem::windows;
    return std::nullopt;
}

const wchar_t* subsystemName(Subsystem subsystem) {
    return subsystem == Subsystem::console ? L"console" : L"windows";
}

std::optional<std::uint16_t> subsystemOf(std::span<const std::uint8_t> image) {
    const auto field = subsystemField(image);
    if (!field)
        return std::nullopt;
    return readLe16(image, *field);
}

bool setSubsystem(std::span<std::uint8_t> image, Subsystem subsystem) {
    const auto field = subsystemField(image);
    if (!field)
        return false;
    writeLe16(image, *field, static_cast<std::uint16_t>(subsystem));
    return true;
}
