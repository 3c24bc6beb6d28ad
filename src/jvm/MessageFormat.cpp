#include "jvm/MessageFormat.h"

#include "launcher/DecimalText.h"

namespace {

std::wstring argumentText(const MessageArgument& argument) {
    if (const auto* text = std::get_if<std::wstring>(&argument))
        return *text;
    return decimalText(static_cast<int64_t>(std::get<int32_t>(argument)));
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
