#include "launcher/DecimalText.h"

std::wstring decimalText(uint64_t value) {
    wchar_t digits[20];
    size_t count = 0;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    std::wstring text;
    while (count > 0)
        text += digits[--count];
    return text;
}

std::wstring decimalText(int64_t value) {
    // The magnitude through unsigned arithmetic, so that the most negative value negates safely.
    const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    return value < 0 ? L"-" + decimalText(magnitude) : decimalText(magnitude);
}
