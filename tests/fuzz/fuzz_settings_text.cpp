// The embedded settings text parser and the message formatter take arbitrary text.
#include "jvm/MessageFormat.h"
#include "settings/MemorySettingsSource.h"

#include "FuzzCheck.h"

#include <cstdint>
#include <cstdlib>
#include <cwctype>

namespace {

bool hasSpaceAtAnEnd(const std::wstring& text) {
    return !text.empty() && (std::iswspace(static_cast<wint_t>(text.front())) ||
                             std::iswspace(static_cast<wint_t>(text.back())));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i < size; ++i)
        text.push_back(data[i] == 0xFE ? L'\xFEFF' : static_cast<wchar_t>(data[i]));

    MemorySettingsSource source;
    source.load(text);
    for (const auto& section : source.sections()) {
        // Names never carry a line break: lines split at CR LF, and a name ends before it.
        check(section.name.find(L"\r\n") == std::wstring::npos);
        for (const auto& [key, value] : section.pairs) {
            check(!hasSpaceAtAnEnd(key) && !hasSpaceAtAnEnd(value));
            check(key.find(L'=') == std::wstring::npos);
            // The first pair of a key in the first section of a name is what reads return.
            std::wstring read;
            source.read(section.name, key, read);
            check(read.size() <= text.size());
        }
    }

    // Formatting never reads more arguments than it was given and never loses plain text.
    const std::wstring formatted = formatMessage(text, {std::wstring(L"x"), int32_t{-7}});
    check(formatted.size() <= text.size()); // "x" and "-7" are no longer than "%s" and "%d"
    return 0;
}
