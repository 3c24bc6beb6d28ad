// Executable headers and Java's modified UTF-8 from arbitrary bytes: the header reader only
// reports headers that lie inside the bytes, and decoding never yields more units than bytes.
#include "jvm/ModifiedUtf8.h"
#include "jvm/PeHeaders.h"

#include "FuzzCheck.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The input as it stands, and with an "MZ" start and a pointer to its middle, so that the
    // checks behind the DOS header are reached as well.
    std::basic_string<uint8_t> bytes(data, size);
    for (int pass = 0; pass < 2; ++pass) {
        const std::span<const uint8_t> image(bytes.data(), bytes.size());
        if (const auto offset = ntHeadersOffset(image)) {
            check(*offset + 24 <= image.size());
            check(peMachine(image).has_value());
        } else {
            check(!peMachine(image).has_value());
        }
        if (bytes.size() < 0x40)
            break;
        bytes[0] = 'M';
        bytes[1] = 'Z';
        const auto middle = static_cast<uint32_t>(bytes.size() / 2);
        for (int i = 0; i < 4; ++i)
            bytes[0x3C + i] = static_cast<uint8_t>(middle >> (8 * i));
        if (middle + 4 <= bytes.size()) {
            bytes[middle] = 'P';
            bytes[middle + 1] = 'E';
            bytes[middle + 2] = 0;
            bytes[middle + 3] = 0;
        }
    }

    const std::wstring text =
        decodeModifiedUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    check(text.size() <= size);
    for (const wchar_t unit : text)
        check(static_cast<uint32_t>(unit) <= 0xFFFF);
    return 0;
}
