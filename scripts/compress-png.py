#!/usr/bin/env python3
"""Rewrites a screenshot PNG small enough to keep in the repository.

The test screenshots are stored uncompressed (the Windows-side writer needs no library). This
reads such a file (8-bit RGB or RGBA, not interlaced), and writes it again losslessly: as a
palette image when it has at most 256 colours, which window pictures usually have, otherwise
as RGB with the row filter that suits each row best; deflated at the highest level.

Usage: scripts/compress-png.py INPUT.png OUTPUT.png
"""
import struct
import sys
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"


def chunks(data):
    position = len(SIGNATURE)
    while position < len(data):
        (length,) = struct.unpack(">I", data[position:position + 4])
        kind = data[position + 4:position + 8]
        yield kind, data[position + 8:position + 8 + length]
        position += 12 + length


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def unfilter(raw, width, height, channels):
    stride = width * channels
    rows = []
    previous = bytearray(stride)
    position = 0
    for _ in range(height):
        kind = raw[position]
        row = bytearray(raw[position + 1:position + 1 + stride])
        position += 1 + stride
        for i in range(stride):
            left = row[i - channels] if i >= channels else 0
            up = previous[i]
            upper_left = previous[i - channels] if i >= channels else 0
            if kind == 1:
                row[i] = (row[i] + left) & 0xFF
            elif kind == 2:
                row[i] = (row[i] + up) & 0xFF
            elif kind == 3:
                row[i] = (row[i] + ((left + up) >> 1)) & 0xFF
            elif kind == 4:
                row[i] = (row[i] + paeth(left, up, upper_left)) & 0xFF
            elif kind != 0:
                raise ValueError("unknown row filter %d" % kind)
        rows.append(bytes(row))
        previous = row
    return rows


def read_png(path):
    data = open(path, "rb").read()
    if not data.startswith(SIGNATURE):
        raise ValueError("%s is no PNG file" % path)
    header, idat = None, b""
    for kind, body in chunks(data):
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError("%s: only 8-bit RGB or RGBA without interlacing is read" % path)
    channels = 3 if colour == 2 else 4
    rows = unfilter(zlib.decompress(idat), width, height, channels)
    if channels == 4:  # drop alpha: screenshots are opaque
        rows = [bytes(b for i, b in enumerate(row) if i % 4 != 3) for row in rows]
    return width, height, rows


def best_filtered(row, previous, channels):
    """The row with the filter whose output has the smallest sum of absolute values."""
    candidates = []
    for kind in range(5):
        out = bytearray([kind])
        for i, value in enumerate(row):
            left = row[i - channels] if i >= channels else 0
            up = previous[i]
            upper_left = previous[i - channels] if i >= channels else 0
            predictor = (0, left, up, (left + up) >> 1, paeth(left, up, upper_left))[kind]
            out.append((value - predictor) & 0xFF)
        candidates.append(out)
    return min(candidates, key=lambda c: sum(b if b < 128 else 256 - b for b in c[1:]))


def chunk(kind, body):
    return (struct.pack(">I", len(body)) + kind + body +
            struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))


def write_png(path, width, height, rows):
    colours = {}
    for row in rows:
        for i in range(0, len(row), 3):
            colours.setdefault(row[i:i + 3], len(colours))
            if len(colours) > 256:
                break
        if len(colours) > 256:
            break
    out = SIGNATURE
    if len(colours) <= 256:
        depth = 8 if len(colours) > 16 else 4 if len(colours) > 4 else 2 if len(colours) > 2 else 1
        per_byte = 8 // depth
        raw = bytearray()
        for row in rows:
            indices = [colours[row[i:i + 3]] for i in range(0, len(row), 3)]
            raw.append(0)
            for start in range(0, len(indices), per_byte):
                byte = 0
                group = indices[start:start + per_byte]
                for index in group:
                    byte = (byte << depth) | index
                byte <<= depth * (per_byte - len(group))
                raw.append(byte)
        out += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, 3, 0, 0, 0))
        out += chunk(b"PLTE", b"".join(colours))
    else:
        raw = bytearray()
        previous = bytes(width * 3)
        for row in rows:
            raw += best_filtered(row, previous, 3)
            previous = row
        out += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    out += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    out += chunk(b"IEND", b"")
    with open(path, "wb") as file:
        file.write(out)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    width, height, rows = read_png(sys.argv[1])
    write_png(sys.argv[2], width, height, rows)


if __name__ == "__main__":
    main()
