#include "jar/RawInflate.h"

#include <cstring>

namespace {

constexpr int kMaxBits = 15;
constexpr int kLiteralCodes = 288;
constexpr int kDistanceCodes = 30;

class BitReader {
  public:
    explicit BitReader(std::span<const std::uint8_t> input) : input_(input) {}

    // Deflate packs its fields from the least significant bit of each byte up.
    [[nodiscard]] bool bits(int count, unsigned& value) {
        while (held_ < count) {
            if (position_ == input_.size())
                return false;
            buffer_ |= static_cast<std::uint32_t>(input_[position_++]) << held_;
            held_ += 8;
        }
        value = buffer_ & ((1u << count) - 1);
        buffer_ >>= count;
        held_ -= count;
        return true;
    }

    // Stored blocks start at a byte boundary: the rest of the current byte is padding.
    void skipToByte() {
        buffer_ = 0;
        held_ = 0;
    }

    std::span<const std::uint8_t> takeBytes(std::size_t count) {
        if (input_.size() - position_ < count)
            return {};
        const std::span<const std::uint8_t> bytes = input_.subspan(position_, count);
        position_ += count;
        return bytes;
    }

  private:
    std::span<const std::uint8_t> input_;
    std::size_t position_ = 0;
    std::uint32_t buffer_ = 0;
    int held_ = 0;
};

// A canonical Huffman code: how many codes each length has, and the symbols in code order.
struct Huffman {
    std::uint16_t countOfLength[kMaxBits + 1];
    std::uint16_t symbols[kLiteralCodes];
};

// False for an over-subscribed set of lengths, which no encoder can produce. An incomplete
// set is accepted (a single distance code is legal); its unused codes fail when decoded.
bool buildHuffman(Huffman& code, const std::uint8_t* lengths, int count) {
    std::memset(code.countOfLength, 0, sizeof code.countOfLength);
    for (int symbol = 0; symbol < count; ++symbol)
        ++code.countOfLength[lengths[symbol]];
    int left = 1;
    for (int length = 1; length <= kMaxBits; ++length) {
        left = (left << 1) - code.countOfLength[length];
        if (left < 0)
            return false;
    }
    std::uint16_t offsets[kMaxBits + 2] = {};
    for (int length = 1; length <= kMaxBits; ++length)
        offsets[length + 1] = offsets[length] + code.countOfLength[length];
    for (int symbol = 0; symbol < count; ++symbol)
        if (lengths[symbol] != 0)
            code.symbols[offsets[lengths[symbol]]++] = static_cast<std::uint16_t>(symbol);
    return true;
}

// The next symbol, or -1 for missing input or a code that the table does not assign.
int decodeSymbol(BitReader& reader, const Huffman& code) {
    int value = 0;
    int first = 0;
    int index = 0;
    for (int length = 1; length <= kMaxBits; ++length) {
        unsigned bit;
        if (!reader.bits(1, bit))
            return -1;
        value |= static_cast<int>(bit);
        const int count = code.countOfLength[length];
        if (value - first < count)
            return code.symbols[index + value - first];
        index += count;
        first = (first + count) << 1;
        value <<= 1;
    }
    return -1;
}

constexpr std::uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,
                                           15, 17, 19, 23, 27, 31, 35, 43, 51,  59,
                                           67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,     9,     13,
                                             17,   25,   33,   49,   65,   97,    129,   193,
                                             257,  385,  513,  769,  1025, 1537,  2049,  3073,
                                             4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                             6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

class Inflater {
  public:
    Inflater(std::span<const std::uint8_t> input, std::size_t limit,
             std::vector<std::uint8_t>& output)
        : reader_(input), limit_(limit), output_(output) {}

    bool run() {
        unsigned last = 0;
        do {
            unsigned type;
            if (!reader_.bits(1, last) || !reader_.bits(2, type))
                return false;
            const bool decoded = type == 0   ? storedBlock()
                                 : type == 1 ? fixedBlock()
                                 : type == 2 ? dynamicBlock()
                                             : false;
            if (!decoded)
                return false;
        } while (!last);
        return true;
    }

  private:
    bool storedBlock() {
        reader_.skipToByte();
        const std::span<const std::uint8_t> header = reader_.takeBytes(4);
        if (header.empty())
            return false;
        const unsigned length = header[0] | header[1] << 8;
        const unsigned complement = header[2] | header[3] << 8;
        if ((length ^ 0xFFFFu) != complement || limit_ - output_.size() < length)
            return false;
        const std::span<const std::uint8_t> bytes = reader_.takeBytes(length);
        if (bytes.size() != length)
            return false;
        output_.insert(output_.end(), bytes.begin(), bytes.end());
        return true;
    }

    bool fixedBlock() {
        std::uint8_t lengths[kLiteralCodes + kDistanceCodes];
        std::memset(lengths, 8, 144);
        std::memset(lengths + 144, 9, 112);
        std::memset(lengths + 256, 7, 24);
        std::memset(lengths + 280, 8, 8);
        std::memset(lengths + kLiteralCodes, 5, kDistanceCodes);
        return codedBlock(lengths, kLiteralCodes, kDistanceCodes);
    }

    bool dynamicBlock() {
        unsigned literalCount, distanceCount, lengthCodeCount;
        if (!reader_.bits(5, literalCount) || !reader_.bits(5, distanceCount) ||
            !reader_.bits(4, lengthCodeCount))
            return false;
        literalCount += 257;
        distanceCount += 1;
        lengthCodeCount += 4;
        if (literalCount > 286 || distanceCount > kDistanceCodes)
            return false;

        static constexpr std::uint8_t kOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                    11, 4,  12, 3, 13, 2, 14, 1, 15};
        std::uint8_t lengthLengths[19] = {};
        for (unsigned i = 0; i < lengthCodeCount; ++i) {
            unsigned length;
            if (!reader_.bits(3, length))
                return false;
            lengthLengths[kOrder[i]] = static_cast<std::uint8_t>(length);
        }
        Huffman lengthCode;
        if (!buildHuffman(lengthCode, lengthLengths, 19))
            return false;

        // Literal/length and distance lengths form one sequence: a repeat may cross from one
        // into the other.
        std::uint8_t lengths[kLiteralCodes + kDistanceCodes] = {};
        const unsigned total = literalCount + distanceCount;
        for (unsigned index = 0; index < total;) {
            const int symbol = decodeSymbol(reader_, lengthCode);
            if (symbol < 0)
                return false;
            if (symbol < 16) {
                lengths[index++] = static_cast<std::uint8_t>(symbol);
                continue;
            }
            unsigned repeat;
            std::uint8_t value = 0;
            if (symbol == 16) {
                if (index == 0 || !reader_.bits(2, repeat))
                    return false;
                value = lengths[index - 1];
                repeat += 3;
            } else if (symbol == 17) {
                if (!reader_.bits(3, repeat))
                    return false;
                repeat += 3;
            } else {
                if (!reader_.bits(7, repeat))
                    return false;
                repeat += 11;
            }
            if (total - index < repeat)
                return false;
            std::memset(lengths + index, value, repeat);
            index += repeat;
        }
        // Without a code for the end of the block, the block could never end.
        if (lengths[256] == 0)
            return false;
        // codedBlock wants the distance lengths right behind the literal ones' full table.
        std::uint8_t distances[kDistanceCodes] = {};
        std::memcpy(distances, lengths + literalCount, distanceCount);
        std::memset(lengths + literalCount, 0, kLiteralCodes + kDistanceCodes - literalCount);
        std::memcpy(lengths + kLiteralCodes, distances, kDistanceCodes);
        return codedBlock(lengths, literalCount, kDistanceCodes);
    }

    // `lengths` holds the literal/length code lengths, then at kLiteralCodes the distance ones.
    bool codedBlock(const std::uint8_t* lengths, int literalCount, int distanceCount) {
        Huffman literals, distances;
        if (!buildHuffman(literals, lengths, literalCount) ||
            !buildHuffman(distances, lengths + kLiteralCodes, distanceCount))
            return false;
        for (;;) {
            const int symbol = decodeSymbol(reader_, literals);
            if (symbol < 0)
                return false;
            if (symbol < 256) {
                if (output_.size() == limit_)
                    return false;
                output_.push_back(static_cast<std::uint8_t>(symbol));
                continue;
            }
            if (symbol == 256)
                return true;
            const int lengthIndex = symbol - 257;
            if (lengthIndex >= 29)
                return false;
            unsigned extra;
            if (!reader_.bits(kLengthExtra[lengthIndex], extra))
                return false;
            const std::size_t length = kLengthBase[lengthIndex] + extra;
            const int distanceIndex = decodeSymbol(reader_, distances);
            if (distanceIndex < 0 || distanceIndex >= kDistanceCodes ||
                !reader_.bits(kDistanceExtra[distanceIndex], extra))
                return false;
            const std::size_t distance = kDistanceBase[distanceIndex] + extra;
            if (distance > output_.size() || limit_ - output_.size() < length)
                return false;
            // Byte by byte: a copy may overlap the bytes it produces (a run of one byte).
            for (std::size_t i = 0; i < length; ++i)
                output_.push_back(output_[output_.size() - distance]);
        }
    }

    BitReader reader_;
    std::size_t limit_;
    std::vector<std::uint8_t>& output_;
};

} // namespace

bool inflateRaw(std::span<const std::uint8_t> compressed, std::size_t limit,
                std::vector<std::uint8_t>& output) {
    // The limit counts what is appended, not what was there before.
    const std::size_t before = output.size();
    return Inflater(compressed, before + limit < before ? SIZE_MAX : before + limit, output).run();
}
