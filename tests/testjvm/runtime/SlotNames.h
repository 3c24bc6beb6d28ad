// The names of the JNI table slots, for the message of a slot the runtime does not serve.
#pragma once

#include <cstddef>

namespace testjvm {

const char* nativeSlotName(std::size_t slot);
const char* invokeSlotName(std::size_t slot);

} // namespace testjvm
