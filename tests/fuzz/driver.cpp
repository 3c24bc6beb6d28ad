// Stand-in for libFuzzer when the fuzz targets are built with g++: feeds a fixed number of
// pseudo-random inputs (random bytes, and mutations of bytes that are meaningful to our
// parsers) so that every ctest run exercises the parsers under the sanitizers.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    const long count = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 10000;
    // Bytes the launcher's parsers treat specially: quotes, blanks, separators, digits, units.
    static const char interesting[] = "\"\" \t\r\n=[]+;.%\\/-_0123456789PpTtKkMmGgXsmx:\xff\xfe";
    std::mt19937 rng(0x51a7e);
    std::vector<uint8_t> input;
    for (long i = 0; i < count; ++i) {
        const size_t size = rng() % 96;
        input.resize(size);
        const bool fromInteresting = (i % 3) != 0;
        for (auto& byte : input)
            byte = fromInteresting ? static_cast<uint8_t>(interesting[rng() % (sizeof interesting - 1)])
                                   : static_cast<uint8_t>(rng());
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("%ld inputs, 0 failures\n", count);
    return 0;
}
