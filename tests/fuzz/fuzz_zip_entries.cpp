// Zip archives from arbitrary bytes: an entry found is never larger than the limit, and the
// reader gives the same answer for the archive behind bytes that are not its own (a jar
// appended to an executable).
#include "jar/ZipEntries.h"

#include "FuzzCheck.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr std::size_t kLimit = 4096;
    const std::span<const uint8_t> archive(data, size);
    std::vector<uint8_t> contents;
    const ZipRead read = readZipEntry(archive, "META-INF/MANIFEST.MF", kLimit, contents);
    if (read == ZipRead::found)
        check(contents.size() <= kLimit);

    std::vector<uint8_t> behind(1000, 0);
    behind.insert(behind.end(), data, data + size);
    std::vector<uint8_t> behindContents;
    const ZipRead readBehind =
        readZipEntry(behind, "META-INF/MANIFEST.MF", kLimit, behindContents);
    if (read == ZipRead::found)
        check(readBehind == ZipRead::found && behindContents == contents);
    return 0;
}
