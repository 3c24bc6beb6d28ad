// Raw deflate data from arbitrary bytes: the output never passes its limit, and a stream that
// decodes decodes to the same bytes under any limit that holds them, and under no smaller one.
#include "jar/RawInflate.h"

#include "FuzzCheck.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first byte chooses the limit, so that short limits are tried as well as roomy ones.
    if (size == 0)
        return 0;
    const std::size_t limit = data[0] == 0xFF ? 1 << 20 : data[0] * 16u;
    const std::span<const uint8_t> input(data + 1, size - 1);
    std::vector<uint8_t> output;
    const bool decoded = inflateRaw(input, limit, output);
    check(output.size() <= limit);
    if (!decoded)
        return 0;
    std::vector<uint8_t> exact;
    check(inflateRaw(input, output.size(), exact) && exact == output);
    if (!output.empty()) {
        std::vector<uint8_t> shorter;
        check(!inflateRaw(input, output.size() - 1, shorter));
    }
    return 0;
}
