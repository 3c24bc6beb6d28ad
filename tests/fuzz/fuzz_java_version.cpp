// Parsing arbitrary version texts: failures leave 0.0.0.0, what precedes the first digit
// never matters, the two fills agree on everything read, and the printed text reads back
// as the same leading components.
#include "runtime/JavaVersion.h"

#include "FuzzCheck.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

constexpr int32_t open = JavaVersion::unboundedComponent;

// One byte per character keeps digits and separators dense; bytes from 0x80 are spread
// over the wide range so that digits of other scripts show up as well.
std::wstring wideText(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i < size; ++i)
        text.push_back(data[i] < 0x80 ? static_cast<wchar_t>(data[i])
                                      : static_cast<wchar_t>(0x600 + data[i]));
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = wideText(data, size);

    JavaVersion low;
    JavaVersion high;
    const bool parsed = low.parse(text, 0);
    check(high.parse(text, open) == parsed);
    check(JavaVersion::fromText(L"jre-x " + text, 0) == low);
    if (!parsed) {
        check(low.isZero() && high.isZero());
    } else {
        // Read components agree; the rest carry their fill.
        for (size_t i = 0; i < 4; ++i) {
            check(low.components[i] >= 0);
            check(low.components[i] == high.components[i] ||
                  (low.components[i] == 0 && high.components[i] == open));
        }
        check(JavaVersion::compare(low, high) <= 0);
        check(isWithinBounds(low, low, high) && isWithinBounds(high, low, high));
        check(JavaVersion::matchesPrefix(low, low));
    }

    // Printing keeps every component up to the last one that is neither 0 nor 65535.
    const std::wstring printed = low.toString();
    JavaVersion reread;
    check(reread.parse(printed, 0));
    bool beyondLast = true;
    for (int i = 3; i >= 0; --i) {
        const int32_t c = low.components[static_cast<size_t>(i)];
        if (beyondLast && c != 0 && c != open)
            beyondLast = false;
        if (beyondLast)
            check(reread.components[static_cast<size_t>(i)] == 0 ||
                  reread.components[static_cast<size_t>(i)] == c);
        else
            check(reread.components[static_cast<size_t>(i)] == c);
    }

    // compare is antisymmetric and consistent with equality against a second version.
    const size_t half = text.size() / 2;
    const JavaVersion other = JavaVersion::fromText(text.substr(half), 0);
    check(JavaVersion::compare(low, other) == -JavaVersion::compare(other, low));
    check((JavaVersion::compare(low, other) == 0) == (low == other));
    if (JavaVersion::matchesPrefix(other, low) && !low.isZero())
        check(other.components[0] == low.components[0]);
    return 0;
}
