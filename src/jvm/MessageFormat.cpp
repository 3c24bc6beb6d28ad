#include "jvm/MessageFormat.h"

namespace {

std::wstring argumentText(const MessageArgument& argument) {
    if (const auto* text = std::get_if<std::wstring>(&argument))
        return *text;
    const int32_t number = std::get<int32_t>(argument);
    // Through 64 bits so that INT32_MIN negates safely.
    int64_t magnitude = number;
    const bool negative = magnitude < 0;
    if (negative)
        magnitude = -magnitude;
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    return negative ? L"-" + digits : digits;
}

} // namespace

std::wstring formatMessage(const std::wstring& format,
                           const std::vector<MessageArgument>& arguments) {
    std::wstring result;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        const wchar_t c = format[i];
        const wchar_t conversion = i + 1 < format.size() ? format[i + 1] : L'\0';
        if (c != L'%' || (conversion != L's' && conversion != L'd' && conversion != L'%')) {
            result += c;
            continue;
        }
        ++i;
        if (conversion == L'%')
            result += L'%';
        else if (next < arguments.size())
            result += argumentText(arguments[next++]);
    }
    return result;
}
