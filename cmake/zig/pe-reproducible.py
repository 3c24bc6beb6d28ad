#!/usr/bin/env python3
"""Makes a PE image that zig (lld) linked the same for the same inputs: zig has no way to pass
lld its flag for that, so the link writes the time it ran into the file header and a reference,
with a random identifier, to the .pdb file it wrote beside the image. The time becomes 0 (as the
MinGW-w64 builds leave it) and the debug directory, which only a debugger reads and which names
a .pdb that no release ships, is emptied, its records zeroed.
Usage: pe-reproducible.py IMAGE"""
import struct
import sys


def rva_to_offset(sections, rva):
    for virtual_address, virtual_size, raw_offset, raw_size in sections:
        if virtual_address <= rva < virtual_address + max(virtual_size, raw_size):
            return raw_offset + rva - virtual_address
    return None


def make_reproducible(image):
    if image[:2] != b"MZ":
        raise ValueError("not a PE image (no MZ header)")
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE image (no PE signature)")
    section_count, optional_size = struct.unpack_from("<H", image, pe + 6)[0], struct.unpack_from("<H", image, pe + 20)[0]
    struct.pack_into("<I", image, pe + 8, 0)
    optional = pe + 24
    magic = struct.unpack_from("<H", image, optional)[0]
    directories = optional + {0x10B: 96, 0x20B: 112}[magic]
    directory_count = struct.unpack_from("<I", image, directories - 4)[0]
    table = optional + optional_size
    sections = [struct.unpack_from("<IIII", image, table + 40 * i + 8) for i in range(section_count)]
    # (virtual size, virtual address, raw size, raw offset) -> (address, size, offset, raw size)
    sections = [(address, size, offset, raw) for size, address, raw, offset in sections]
    if directory_count <= 6:
        return
    entry = directories + 6 * 8
    debug_rva, debug_size = struct.unpack_from("<II", image, entry)
    if debug_rva == 0:
        return
    debug = rva_to_offset(sections, debug_rva)
    if debug is None or debug + debug_size > len(image):
        raise ValueError("the debug directory lies outside the image")
    for record in range(debug, debug + debug_size - 27, 28):
        data_size, _, data_offset = struct.unpack_from("<III", image, record + 16)
        if data_offset and data_offset + data_size <= len(image):
            image[data_offset:data_offset + data_size] = bytes(data_size)
    image[debug:debug + debug_size] = bytes(debug_size)
    struct.pack_into("<II", image, entry, 0, 0)


def main(path):
    with open(path, "rb") as file:
        image = bytearray(file.read())
    make_reproducible(image)
    with open(path, "wb") as file:
        file.write(image)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__.splitlines()[-1])
    try:
        main(sys.argv[1])
    except (ValueError, KeyError, struct.error) as error:
        sys.exit(f"pe-reproducible.py: {sys.argv[1]}: {error}")
