// Jar bytes for the jar-reading tests: a manifest, its raw deflate form (a dynamic-Huffman
// block, as jar tools write it) and a writer of small zip archives around them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jarsamples {

inline const std::string kManifest =
    "Manifest-Version: 1.0\r\nCreated-By: 21 (Example)\r\nMain-Class: org.example.tools.Main\r\n"
    "Class-Path: lib/alpha-1.2.jar lib/beta-3.4.jar lib/gamma-5.6.jar lib/delta-7.8.jar\r\n"
    " lib/epsilon-9.0.jar\r\nAdd-Opens: java.base/java.lang java.desktop/sun.awt\r\n\r\n";
inline constexpr std::uint32_t kManifestCrc = 0xa38c2425;

inline const std::vector<std::uint8_t> kDeflatedManifest = {
    0x3d, 0xce, 0x3d, 0x6f, 0x02, 0x31, 0x0c, 0x80, 0xe1, 0x3d, 0x52, 0xfe,
    0x43, 0x46, 0x18, 0xec, 0xe3, 0x80, 0x16, 0xb8, 0x8d, 0xa2, 0x8e, 0x08,
    0x26, 0x76, 0x9f, 0x62, 0x8e, 0x40, 0x2e, 0x89, 0xce, 0x69, 0x69, 0xff,
    0x3d, 0xf7, 0x21, 0xb1, 0x59, 0xcf, 0x6b, 0x4b, 0x3e, 0x52, 0x70, 0x57,
    0x96, 0x0c, 0x17, 0xee, 0xc4, 0xc5, 0x50, 0x99, 0x12, 0x17, 0x5a, 0x1d,
    0x3a, 0xa6, 0xcc, 0x16, 0xbe, 0xfe, 0x2b, 0xb3, 0x2c, 0xcd, 0xec, 0xfb,
    0x8f, 0xda, 0xe4, 0x79, 0xae, 0xd5, 0x91, 0x5c, 0x80, 0x83, 0x27, 0x91,
    0xca, 0xc4, 0xae, 0x41, 0x9e, 0x0a, 0xe6, 0x18, 0xbd, 0xe0, 0x50, 0xfb,
    0xeb, 0x21, 0xc3, 0x99, 0xf2, 0xad, 0x32, 0xde, 0xd5, 0x05, 0xf9, 0x74,
    0x23, 0x28, 0x71, 0x89, 0x77, 0xea, 0x46, 0xa9, 0x39, 0x13, 0xac, 0x70,
    0xfd, 0x86, 0x86, 0xda, 0x96, 0xe0, 0x03, 0x3f, 0xdf, 0x62, 0xd9, 0xf7,
    0x3b, 0x1b, 0xdc, 0x0e, 0xa2, 0xd5, 0x68, 0x9c, 0xc4, 0xf9, 0x18, 0x60,
    0x87, 0x8b, 0x49, 0xf7, 0xd6, 0xc2, 0x29, 0x71, 0xe8, 0x9f, 0xb9, 0xd3,
    0x2f, 0x61, 0x4d, 0xc2, 0xc5, 0x38, 0x79, 0x0a, 0xcd, 0x64, 0x96, 0xe5,
    0x91, 0x63, 0x2a, 0xe4, 0x27, 0x20, 0x3d, 0xb3, 0x56, 0x5a, 0xbd, 0x00,
};

inline std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

struct ZipMember {
    std::string name = "META-INF/MANIFEST.MF";
    std::uint16_t method = 8;
    std::vector<std::uint8_t> data = kDeflatedManifest;
    std::uint32_t size = static_cast<std::uint32_t>(kManifest.size());
    std::uint32_t crc = kManifestCrc;
    std::uint16_t flags = 0;
};

struct ZipLayout {
    std::vector<ZipMember> members = {ZipMember{}};
    std::size_t prefix = 0;           // bytes in front, as an executable is in front of its jar
    bool offsetsCountPrefix = false;  // the offsets count from the file's start, not the zip's
    std::string comment;
    std::size_t trailer = 0; // bytes behind the end record, as a signature appended later
    // Every size, offset and count in ZIP64 form, as tools write an archive of more than
    // 65535 entries: markers in the 32-bit fields, the figures in extra fields and end records.
    bool zip64 = false;
};

inline void put16(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void put32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    put16(bytes, value & 0xFFFF);
    put16(bytes, value >> 16);
}

inline void put64(std::vector<std::uint8_t>& bytes, std::uint64_t value) {
    put32(bytes, static_cast<std::uint32_t>(value));
    put32(bytes, static_cast<std::uint32_t>(value >> 32));
}

inline std::vector<std::uint8_t> zipArchive(const ZipLayout& layout) {
    const auto narrow = [&](std::uint32_t value) { return layout.zip64 ? 0xFFFFFFFF : value; };
    const auto count = [&](std::size_t value) {
        return layout.zip64 ? 0xFFFF : static_cast<std::uint32_t>(value);
    };
    std::vector<std::uint8_t> bytes(layout.prefix, 'x');
    const std::uint32_t base = layout.offsetsCountPrefix ? 0 : static_cast<std::uint32_t>(layout.prefix);
    std::vector<std::uint32_t> offsets;
    for (const ZipMember& member : layout.members) {
        offsets.push_back(static_cast<std::uint32_t>(bytes.size()) - base);
        put32(bytes, 0x04034B50);
        put16(bytes, 20);
        put16(bytes, member.flags);
        put16(bytes, member.method);
        put32(bytes, 0); // time and date
        put32(bytes, member.crc);
        put32(bytes, narrow(static_cast<std::uint32_t>(member.data.size())));
        put32(bytes, narrow(member.size));
        put16(bytes, static_cast<std::uint32_t>(member.name.size()));
        put16(bytes, layout.zip64 ? 20 : 0);
        bytes.insert(bytes.end(), member.name.begin(), member.name.end());
        if (layout.zip64) {
            put16(bytes, 1);
            put16(bytes, 16);
            put64(bytes, member.size);
            put64(bytes, member.data.size());
        }
        bytes.insert(bytes.end(), member.data.begin(), member.data.end());
    }
    const std::uint32_t directory = static_cast<std::uint32_t>(bytes.size());
    for (std::size_t i = 0; i < layout.members.size(); ++i) {
        const ZipMember& member = layout.members[i];
        put32(bytes, 0x02014B50);
        put16(bytes, 20);
        put16(bytes, 20);
        put16(bytes, member.flags);
        put16(bytes, member.method);
        put32(bytes, 0);
        put32(bytes, member.crc);
        put32(bytes, narrow(static_cast<std::uint32_t>(member.data.size())));
        put32(bytes, narrow(member.size));
        put16(bytes, static_cast<std::uint32_t>(member.name.size()));
        put16(bytes, layout.zip64 ? 28 : 0); // extra
        put16(bytes, 0); // comment
        put16(bytes, 0); // disk
        put16(bytes, 0); // internal attributes
        put32(bytes, 0); // external attributes
        put32(bytes, narrow(offsets[i]));
        bytes.insert(bytes.end(), member.name.begin(), member.name.end());
        if (layout.zip64) {
            put16(bytes, 1);
            put16(bytes, 24);
            put64(bytes, member.size);
            put64(bytes, member.data.size());
            put64(bytes, offsets[i]);
        }
    }
    const std::uint32_t directorySize = static_cast<std::uint32_t>(bytes.size()) - directory;
    if (layout.zip64) {
        const std::uint32_t record = static_cast<std::uint32_t>(bytes.size()) - base;
        put32(bytes, 0x06064B50);
        put64(bytes, 44);
        put16(bytes, 45);
        put16(bytes, 45);
        put64(bytes, 0); // this disk, the directory's disk
        put64(bytes, layout.members.size());
        put64(bytes, layout.members.size());
        put64(bytes, directorySize);
        put64(bytes, directory - base);
        put32(bytes, 0x07064B50);
        put32(bytes, 0);
        put64(bytes, record);
        put32(bytes, 1);
    }
    put32(bytes, 0x06054B50);
    put16(bytes, 0);
    put16(bytes, 0);
    put16(bytes, count(layout.members.size()));
    put16(bytes, count(layout.members.size()));
    put32(bytes, narrow(directorySize));
    put32(bytes, narrow(directory - base));
    put16(bytes, static_cast<std::uint32_t>(layout.comment.size()));
    bytes.insert(bytes.end(), layout.comment.begin(), layout.comment.end());
    bytes.resize(bytes.size() + layout.trailer, 0);
    return bytes;
}

} // namespace jarsamples
