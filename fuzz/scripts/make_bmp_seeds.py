#!/usr/bin/env python3
"""Writes the small bitmap files the bitmap tests read (tests/data/ui/bmp/) and the seeds of
the bmp fuzz target (fuzz/corpus/bmp/seed-*).

Every file shows the same 7 x 5 picture: pixel (x, y), counted from the top left, has colour
COLOURS[(x + y) % n], where n is 2 for 1-bit files and 4 otherwise. The colours are exact in
every depth, 5-bit channels included, so each file must read to the same pixels."""

import os
import struct

WIDTH, HEIGHT = 7, 5
COLOURS = [(0, 0, 0), (255, 255, 255), (255, 0, 255), (0, 255, 0)]  # (r, g, b)


def index(x, y, bits):
    return (x + y) % (2 if bits == 1 else 4)


def file_header(pixel_offset, total):
    return b"BM" + struct.pack("<IHHI", total, 0, 0, pixel_offset)


def info_header(bits, compression=0, height=HEIGHT, image_size=0, colours=0, size=40):
    header = struct.pack("<IiiHHIIiiII", size, WIDTH, height, 1, bits, compression, image_size,
                         2835, 2835, colours, 0)
    return header + b"\0" * (size - 40)


def palette(count, entry=4):
    out = b""
    for i in range(count):
        r, g, b = COLOURS[i] if i < len(COLOURS) else (0, 0, 0)
        out += bytes([b, g, r]) + (b"\0" if entry == 4 else b"")
    return out


def pack_row(y, bits):
    if bits in (1, 4, 8):
        data = 0
        nbits = 0
        out = bytearray()
        for x in range(WIDTH):
            data = (data << bits) | index(x, y, bits)
            nbits += bits
            while nbits >= 8:
                nbits -= 8
                out.append((data >> nbits) & 0xFF)
        if nbits:
            out.append((data << (8 - nbits)) & 0xFF)
    else:
        out = bytearray()
        for x in range(WIDTH):
            r, g, b = COLOURS[index(x, y, bits)]
            if bits == 24:
                out += bytes([b, g, r])
            elif bits == 32:
                out += bytes([b, g, r, 0])
            elif bits == 16:  # 5-6-5 bit fields
                out += struct.pack("<H", ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3))
    while len(out) % 4:
        out.append(0)
    return bytes(out)


def uncompressed(bits, top_down=False, bitfields=False, header_size=40):
    rows = [pack_row(y, bits) for y in range(HEIGHT)]
    pixels = b"".join(rows if top_down else reversed(rows))
    colours = (1 << bits) if bits <= 8 else 0
    extra = struct.pack("<III", 0xF800, 0x07E0, 0x001F) if bitfields else b""
    header = info_header(bits, 3 if bitfields else 0, -HEIGHT if top_down else HEIGHT, len(pixels),
                         colours, header_size)
    if bitfields and header_size > 40:
        header = header[:40] + extra + header[52:]
        extra = b""
    head = header + extra + palette(colours)
    offset = 14 + len(head)
    return file_header(offset, offset + len(pixels)) + head + pixels


def os2_core(bits):
    rows = [pack_row(y, bits) for y in range(HEIGHT)]
    pixels = b"".join(reversed(rows))
    header = struct.pack("<IHHHH", 12, WIDTH, HEIGHT, 1, bits) + palette(1 << bits, entry=3)
    offset = 14 + len(header)
    return file_header(offset, offset + len(pixels)) + header + pixels


def rle8():
    out = bytearray()
    for y in reversed(range(HEIGHT)):
        # Three pixels in absolute mode (padded to a whole word), then the rest as runs.
        out += bytes([0, 3] + [index(x, y, 8) for x in range(3)] + [0])
        x = 3
        while x < WIDTH:
            run = 1
            while x + run < WIDTH and index(x + run, y, 8) == index(x, y, 8):
                run += 1
            out += bytes([run, index(x, y, 8)])
            x += run
        out += bytes([0, 0])
    out[-2:] = bytes([0, 1])  # the last end of line becomes the end of the bitmap
    head = info_header(8, 1, HEIGHT, len(out), 256) + palette(256)
    offset = 14 + len(head)
    return file_header(offset, offset + len(out)) + head + bytes(out)


FILES = {
    "bits1.bmp": uncompressed(1),
    "bits4.bmp": uncompressed(4),
    "bits8.bmp": uncompressed(8),
    "bits16.bmp": uncompressed(16, bitfields=True),
    "bits24.bmp": uncompressed(24),
    "bits32.bmp": uncompressed(32),
    "bits24-topdown.bmp": uncompressed(24, top_down=True),
    "bits8-topdown.bmp": uncompressed(8, top_down=True),
    "bits32-v4.bmp": uncompressed(32, bitfields=False, header_size=108),
    "bits16-v5.bmp": uncompressed(16, bitfields=True, header_size=124),
    "os2-bits8.bmp": os2_core(8),
    "rle8.bmp": rle8(),
}


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
    data = os.path.join(root, "tests", "data", "ui", "bmp")
    corpus = os.path.join(root, "fuzz", "corpus", "bmp")
    os.makedirs(data, exist_ok=True)
    os.makedirs(corpus, exist_ok=True)
    for name, content in FILES.items():
        for path in (os.path.join(data, name), os.path.join(corpus, "seed-" + name[:-4])):
            with open(path, "wb") as f:
                f.write(content)


if __name__ == "__main__":
    main()
