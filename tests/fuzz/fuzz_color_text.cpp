// The anchor colour texts of the user's browser settings: any text is read without fault, a
// colour is only ever reported for a text with two commas and a third part, and a colour
// printed back as its three numbers reads as the same colour.
#include "ui/ColorText.h"

#include "FuzzCheck.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::wstring wideText(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i < size; ++i)
        text.push_back(data[i] < 0x80 ? static_cast<wchar_t>(data[i])
                                      : static_cast<wchar_t>(0x2000 + data[i]));
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = wideText(data, size);
    const std::optional<uint32_t> colour = parseColorText(text);
    if (colour) {
        check(*colour <= 0x00FFFFFFu);
        const size_t first = text.find(L',');
        check(first != std::wstring::npos);
        const size_t second = text.find(L',', first + 1);
        check(second != std::wstring::npos && second + 1 < text.size());
        const std::wstring printed = std::to_wstring(*colour & 0xFF) + L"," +
                                     std::to_wstring(*colour >> 8 & 0xFF) + L"," +
                                     std::to_wstring(*colour >> 16 & 0xFF);
        check(parseColorText(printed) == colour);
    }

    // The same bytes as registry data of each type, whole or cut anywhere: a text is only ever
    // a view inside the data, before its terminator.
    const auto* units = reinterpret_cast<const wchar_t*>(text.c_str());
    for (uint32_t type : {1u, 2u, 4u}) {
        for (size_t cut = 0; cut < 3 && cut <= text.size() * 2; ++cut) {
            const auto value = colorValueText(type, units, text.size() * 2 - cut);
            if (!value)
                continue;
            check(type != 4);
            check(value->data() == units);
            check(value->size() < text.size() || value->empty());
            check(value->find(L'\0') == std::wstring_view::npos);
            (void)parseColorText(*value);
        }
    }
    return 0;
}
