// The inflater over each kind of block and over data that must be refused, never read past.
#include "jar/RawInflate.h"

#include "JarSamples.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct InflateCase {
    const char* fault; // what a wrong inflater would do with this input
    std::vector<std::uint8_t> input;
    std::size_t limit;
    bool valid;
    std::string output; // when valid
};

TEST(RawInflate, DecodesEachBlockKindAndRefusesBrokenData) {
    const std::string run(300, 'a');
    const InflateCase cases[] = {
        {"stored blocks not chained up to the final one",
         {0x00, 5, 0, 0xfa, 0xff, 'h', 'e', 'l', 'l', 'o', 0x01, 6, 0, 0xf9, 0xff, ' ', 'w', 'o',
          'r', 'l', 'd'},
         64, true, "hello world"},
        {"fixed-Huffman literals or a back reference decoded wrongly",
         {0x4b, 0x4c, 0x4a, 0x4e, 0x04, 0x23, 0x00}, 64, true, "abcabcabc"},
        {"an overlapping copy (distance 1) read from bytes not yet written",
         {0x4b, 0x4c, 0x1c, 0x05, 0xc4, 0x02, 0x00}, 300, true, run},
        {"a dynamic-Huffman block's code lengths read wrongly", jarsamples::kDeflatedManifest,
         4096, true, jarsamples::kManifest},
        {"output grown past its limit", {0x4b, 0x4c, 0x1c, 0x05, 0xc4, 0x02, 0x00}, 299, false, ""},
        {"a stored block longer than the limit copied anyway",
         {0x01, 5, 0, 0xfa, 0xff, 'h', 'e', 'l', 'l', 'o'}, 4, false, ""},
        {"a stored block's length not checked against its complement",
         {0x01, 5, 0, 0xfb, 0xff, 'h', 'e', 'l', 'l', 'o'}, 64, false, ""},
        {"a stored block read past the end of the input", {0x01, 9, 0, 0xf6, 0xff, 'h', 'i'}, 64,
         false, ""},
        {"input that ends before the final block taken as complete",
         {0x00, 1, 0, 0xfe, 0xff, 'h'}, 64, false, ""},
        {"nothing at all taken as an empty stream", {}, 64, false, ""},
        {"block type 3, which does not exist, decoded", {0x07, 0x00}, 64, false, ""},
        {"a back reference to before the first byte read outside the output",
         {0x4b, 0x04, 0x42, 0x00}, 64, false, ""},
        {"the unused length symbol 286 indexing past the length table", {0x4b, 0x1c, 0x03, 0x00},
         64, false, ""},
        {"more than 286 literal/length codes in a dynamic block",
         {0xf5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 64, false, ""},
        {"an over-subscribed set of code lengths accepted",
         {0x05, 0x00, 0x92, 0x04, 0, 0, 0, 0, 0, 0, 0, 0}, 64, false, ""},
        {"a repeat of the previous length with no previous length",
         {0x05, 0x00, 0x12, 0x00, 0, 0, 0, 0, 0, 0, 0, 0}, 64, false, ""},
    };
    for (const InflateCase& test : cases) {
        SCOPED_TRACE(test.fault);
        std::vector<std::uint8_t> output;
        EXPECT_EQ(inflateRaw(test.input, test.limit, output), test.valid);
        if (test.valid)
            EXPECT_EQ(std::string(output.begin(), output.end()), test.output);
        EXPECT_LE(output.size(), test.limit);
    }
}

TEST(RawInflate, DataCutAnywhereIsRefusedWithinItsBytes) {
    // Every shorter prefix of a valid stream lacks its end-of-block code; under the address
    // sanitizer a read past the span would show here.
    const std::vector<std::uint8_t>& whole = jarsamples::kDeflatedManifest;
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + length);
        std::vector<std::uint8_t> output;
        EXPECT_FALSE(inflateRaw(cut, 4096, output)) << length;
    }
}

} // namespace
