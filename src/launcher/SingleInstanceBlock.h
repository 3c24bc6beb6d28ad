// The block that the launches of one application share in single-instance operation: who the
// first instance is, and the arguments a later launch hands over to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

inline constexpr size_t kArgumentAreaSize = 2080;
// A later launch writes at most this much of the area: its arguments, each ended by a zero
// character, and one more zero character.
inline constexpr size_t kArgumentWriteLimit = 1040;
// The first instance reads the area up to byte 2090 of the block and no further.
inline constexpr size_t kArgumentReadLimit = 2078;

// Both processes read and write the block in place, in the memory of a named mapping. The
// numbers are in the processor's byte order, little-endian on every Windows processor; the
// argument area holds UTF-16 code units, little-endian, whatever the processor.
struct SingleInstanceBlock {
    uint32_t threadId;  // the first instance's message thread
    uint32_t processId; // the first instance
    uint32_t messageId; // the registered message of the instance name
    unsigned char argumentArea[kArgumentAreaSize];
};
static_assert(offsetof(SingleInstanceBlock, threadId) == 0);
static_assert(offsetof(SingleInstanceBlock, processId) == 4);
static_assert(offsetof(SingleInstanceBlock, messageId) == 8);
static_assert(offsetof(SingleInstanceBlock, argumentArea) == 12);
static_assert(sizeof(SingleInstanceBlock) == 2092);

// The name of the mapping and of the registered message: the executable's path with every
// backslash made an underscore (a backslash would name a namespace).
std::wstring instanceNameFor(const std::wstring& executablePath);

// The bytes the arguments take in the area, the final zero character included.
size_t encodedArgumentsSize(const std::vector<std::wstring>& arguments);

// Writes the arguments into the area: the first kArgumentWriteLimit bytes are cleared and
// then filled; the rest of the area is never touched. False, with the area untouched, when
// the arguments do not fit.
[[nodiscard]] bool encodeForwardedArguments(const std::vector<std::wstring>& arguments,
                                            std::span<unsigned char, kArgumentAreaSize> area);

// The arguments found in the first kArgumentReadLimit bytes of the area (or in all of it when
// it is shorter): a zero character ends an argument, a second one right after it ends the
// list, and an argument still open at the limit is dropped. An area that starts with two zero
// characters holds one empty argument.
std::vector<std::wstring> decodeForwardedArguments(std::span<const unsigned char> area);
