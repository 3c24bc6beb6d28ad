// The argument area as another process may have left it: decoding stays inside the bytes,
// and what it finds survives being written and read again.
#include "launcher/SingleInstanceBlock.h"

#include "FuzzCheck.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input's size, so that any read beyond it is caught.
    const std::vector<unsigned char> bytes(data, data + size);
    const std::vector<std::wstring> found = decodeForwardedArguments(bytes);

    size_t units = 0;
    for (size_t index = 0; index < found.size(); ++index) {
        check(found[index].find(L'\0') == std::wstring::npos);
        // Only the first argument can be empty: an empty one later would have ended the list.
        check(index == 0 || !found[index].empty());
        units += found[index].size() + 1;
    }
    check(2 * units <= std::min(size, kArgumentReadLimit));

    std::array<unsigned char, kArgumentAreaSize> area;
    area.fill(0xA5);
    if (encodeForwardedArguments(found, area)) {
        check(encodedArgumentsSize(found) <= kArgumentWriteLimit);
        check(decodeForwardedArguments(area) ==
              (found.empty() ? std::vector<std::wstring>{L""} : found));
        for (size_t i = kArgumentWriteLimit; i < area.size(); ++i)
            check(area[i] == 0xA5);
    } else {
        check(encodedArgumentsSize(found) > kArgumentWriteLimit);
    }
    return 0;
}
