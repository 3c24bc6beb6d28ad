#include "launcher/SingleInstanceBlock.h"

#include <algorithm>

std::wstring instanceNameFor(const std::wstring& executablePath) {
    std::wstring name = executablePath;
    std::replace(name.begin(), name.end(), L'\\', L'_');
    return name;
}

size_t encodedArgumentsSize(const std::vector<std::wstring>& arguments) {
    size_t size = 2;
    for (const std::wstring& argument : arguments)
        size += 2 * argument.size() + 2;
    return size;
}

bool encodeForwardedArguments(const std::vector<std::wstring>& arguments,
                              std::span<unsigned char, kArgumentAreaSize> area) {
    if (encodedArgumentsSize(arguments) > kArgumentWriteLimit)
        return false;
    std::fill_n(area.begin(), kArgumentWriteLimit, static_cast<unsigned char>(0));
    // The zero characters are already there: only the arguments' own characters are written.
    size_t offset = 0;
    for (const std::wstring& argument : arguments) {
        for (const wchar_t unit : argument) {
            area[offset] = static_cast<unsigned char>(unit & 0xFF);
            area[offset + 1] = static_cast<unsigned char>((unit >> 8) & 0xFF);
            offset += 2;
        }
        offset += 2;
    }
    return true;
}

std::vector<std::wstring> decodeForwardedArguments(std::span<const unsigned char> area) {
    const size_t end = std::min(area.size(), kArgumentReadLimit) & ~size_t{1};
    const auto unitAt = [&area](size_t offset) {
        return static_cast<wchar_t>(area[offset] | (area[offset + 1] << 8));
    };
    std::vector<std::wstring> arguments;
    std::wstring current;
    for (size_t offset = 0; offset < end; offset += 2) {
        const wchar_t unit = unitAt(offset);
        if (unit != 0) {
            current.push_back(unit);
            continue;
        }
        arguments.push_back(std::move(current));
        current.clear();
        if (offset + 2 < end && unitAt(offset + 2) == 0)
            break;
    }
    return arguments;
}
