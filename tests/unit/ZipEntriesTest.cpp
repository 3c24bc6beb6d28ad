// Finding the manifest in a zip archive: plain jars, jars behind an executable, and archives
// that are cut short, inconsistent or of a form the reader does not take.
#include "jar/ZipEntries.h"

#include "JarSamples.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using jarsamples::ZipLayout;
using jarsamples::ZipMember;
using Bytes = std::vector<std::uint8_t>;

constexpr char kManifestName[] = "META-INF/MANIFEST.MF";

void set32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::size_t endRecord(const Bytes& bytes) { return bytes.size() - 22; } // no comment, no trailer

std::size_t centralHeader(const Bytes& bytes) {
    const std::size_t end = endRecord(bytes);
    return bytes[end + 16] | bytes[end + 17] << 8 | bytes[end + 18] << 16;
}

// The central header of a one-entry ZIP64 archive without a prefix: behind the local header,
// its ZIP64 extra field and the data.
std::size_t zip64CentralHeader(const Bytes& bytes) { return bytes.size() - 22 - 20 - 56 - 46 - 20 - 28; }
std::size_t zip64Extra(const Bytes& bytes) { return zip64CentralHeader(bytes) + 46 + 20; }

struct ZipCase {
    const char* fault;
    ZipLayout layout;
    std::function<void(Bytes&)> damage;
    ZipRead expected;
};

TEST(ZipEntries, FindsTheManifestOrSaysWhyNot) {
    const ZipMember stored{.method = 0, .data = jarsamples::bytesOf(jarsamples::kManifest)};
    const ZipMember other{.name = "com/example/App.class", .method = 0, .data = {1, 2, 3},
                          .size = 3, .crc = 0x55BC801D};
    const auto none = [](Bytes&) {};
    const ZipCase cases[] = {
        {"a deflated entry not inflated", {}, none, ZipRead::found},
        {"a stored entry not copied", {.members = {stored}}, none, ZipRead::found},
        {"the wanted entry missed behind another one", {.members = {other, ZipMember{}}}, none,
         ZipRead::found},
        {"the name compared with its case", {.members = {{.name = "meta-inf/Manifest.mf"}}}, none,
         ZipRead::found},
        {"offsets of a jar behind an executable taken as counted from the file's start",
         {.prefix = 5000}, none, ZipRead::found},
        {"offsets already counted from the file's start moved a second time",
         {.prefix = 5000, .offsetsCountPrefix = true}, none, ZipRead::found},
        {"an archive comment hiding the end record", {.comment = "built by hand PK\x05\x06"}, none,
         ZipRead::found},
        {"a jar refused once a signature is appended behind it", {.prefix = 5000, .trailer = 9000},
         none, ZipRead::found},
        {"another entry taken for the manifest", {.members = {other}}, none, ZipRead::missing},
        {"a byte other than a letter folded into another",
         {.members = {{.name = "META-INF\x0fMANIFEST.MF"}}}, none, ZipRead::missing},
        {"an empty archive taken as damaged", {.members = {}}, none, ZipRead::missing},
        {"bytes without an end record taken as a zip", {.members = {}},
         [](Bytes& bytes) { bytes.assign(300, 'P'); }, ZipRead::damaged},
        {"an archive shorter than an end record read", {.members = {}},
         [](Bytes& bytes) { bytes.resize(10); }, ZipRead::damaged},
        {"an end record cut short read past the end", {},
         [](Bytes& bytes) { bytes.resize(bytes.size() - 3); }, ZipRead::damaged},
        {"a directory larger than the bytes before the end record read", {},
         [](Bytes& bytes) { set32(bytes, endRecord(bytes) + 12, 0x7FFFFFF0); }, ZipRead::damaged},
        {"a ZIP64 marker taken as a real offset", {},
         [](Bytes& bytes) { set32(bytes, endRecord(bytes) + 16, 0xFFFFFFFF); }, ZipRead::damaged},
        {"a ZIP64 archive refused", {.zip64 = true}, none, ZipRead::found},
        {"a ZIP64 archive behind an executable looked for where its locator says",
         {.prefix = 5000, .zip64 = true}, none, ZipRead::found},
        {"a ZIP64 archive that another one follows taken by its figures",
         {.members = {other, ZipMember{}}, .zip64 = true}, none, ZipRead::found},
        {"a ZIP64 locator without its record followed", {.zip64 = true},
         [](Bytes& bytes) { bytes[bytes.size() - 22 - 20 - 56] = 'X'; }, ZipRead::damaged},
        {"a ZIP64 record taken though the end record disagrees with it", {.zip64 = true},
         [](Bytes& bytes) { set32(bytes, endRecord(bytes) + 16, 0); }, ZipRead::damaged},
        {"a ZIP64 extra field short of the offset read past its end", {.zip64 = true},
         [](Bytes& bytes) { bytes[zip64Extra(bytes) + 2] = 16; }, ZipRead::damaged},
        {"a ZIP64 offset cut to its low 32 bits", {.zip64 = true},
         [](Bytes& bytes) { set32(bytes, zip64Extra(bytes) + 24, 1); }, ZipRead::damaged},
        {"a ZIP64 size cut to its low 32 bits, beyond the limit", {.zip64 = true},
         [](Bytes& bytes) { set32(bytes, zip64Extra(bytes) + 8, 1); }, ZipRead::damaged},
        {"a ZIP64 marker without an extra field taken as a size", {.zip64 = true},
         [](Bytes& bytes) { bytes[zip64CentralHeader(bytes) + 30] = 0; }, ZipRead::damaged},
        {"a central header without its signature read", {},
         [](Bytes& bytes) { bytes[centralHeader(bytes)] = 'X'; }, ZipRead::damaged},
        {"a name running past the directory read",
         {},
         [](Bytes& bytes) {
             bytes[centralHeader(bytes) + 28] = 0xFF;
             bytes[centralHeader(bytes) + 29] = 0x7F;
         },
         ZipRead::damaged},
        {"a local header offset outside the archive followed", {},
         [](Bytes& bytes) { set32(bytes, centralHeader(bytes) + 42, 0x7FFFFFFF); }, ZipRead::damaged},
        {"a local header without its signature read", {}, [](Bytes& bytes) { bytes[0] = 'X'; },
         ZipRead::damaged},
        {"a compressed size past the archive's end read", {},
         [](Bytes& bytes) { set32(bytes, centralHeader(bytes) + 20, 0x00FFFFFF); }, ZipRead::damaged},
        {"a wrong checksum accepted", {.members = {{.crc = 1}}}, none, ZipRead::damaged},
        {"an encrypted entry decoded", {.members = {{.flags = 1}}}, none, ZipRead::damaged},
        {"an unknown method (bzip2) decoded", {.members = {{.method = 12}}}, none, ZipRead::damaged},
        {"a stored entry whose sizes differ copied", {.members = {{.method = 0, .size = 3}}}, none,
         ZipRead::damaged},
        {"a declared size beyond the limit inflated", {.members = {{.size = 70000}}}, none,
         ZipRead::damaged},
        {"deflate data shorter than the declared size accepted",
         {.members = {{.size = static_cast<std::uint32_t>(jarsamples::kManifest.size() + 1)}}},
         none, ZipRead::damaged},
    };
    for (const ZipCase& test : cases) {
        SCOPED_TRACE(test.fault);
        Bytes archive = jarsamples::zipArchive(test.layout);
        test.damage(archive);
        std::vector<std::uint8_t> contents;
        EXPECT_EQ(readZipEntry(archive, kManifestName, 65536, contents), test.expected);
        if (test.expected == ZipRead::found)
            EXPECT_EQ(std::string(contents.begin(), contents.end()), jarsamples::kManifest);
    }
}

TEST(ZipEntries, ArchiveCutAnywhereIsNeverReadPastItsEnd) {
    for (const bool zip64 : {false, true}) {
        const Bytes whole = jarsamples::zipArchive({.prefix = 100, .zip64 = zip64});
        for (std::size_t length = 0; length < whole.size(); ++length) {
            const Bytes cut(whole.begin(), whole.begin() + length);
            std::vector<std::uint8_t> contents;
            EXPECT_EQ(readZipEntry(cut, kManifestName, 65536, contents), ZipRead::damaged)
                << length << (zip64 ? " ZIP64" : "");
        }
    }
}

} // namespace
