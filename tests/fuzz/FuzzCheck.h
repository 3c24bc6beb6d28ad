// What a fuzz target does when a property it checks does not hold: stop at once, so the fuzzer
// keeps the input.
#pragma once

#include <cstdlib>

inline void check(bool condition) {
    if (!condition)
        std::abort();
}
