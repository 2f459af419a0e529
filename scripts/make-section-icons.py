#!/usr/bin/env python3
"""Draws the section icons of the sample library: for each of the 24 built-in section shapes a
big (48 x 48) and a small (16 x 16) 24-bit bitmap, and the "Unknown" pair shown for pictures
without an icon. Every shape is drawn from rectangles and rings on a unit square, so the
icons are ours and can be drawn again at any time:

    scripts/make-section-icons.py samples/library/icons
"""

import os
import struct
import sys

BACKGROUND = (255, 255, 255)
STEEL = (70, 90, 120)

# Each shape: a list of parts on a unit square (x to the right, y downwards).
#   ("rect", x0, y0, x1, y1)  a filled rectangle
#   ("ring", cx, cy, r_out, r_in)  a filled disc (r_in 0) or a ring
def i_section(top=True, bottom=True, cut=False):
    parts = [("rect", 0.45, 0.15 if top else 0.1, 0.55, 0.85 if bottom else 0.9)]
    if top:
        parts.append(("rect", 0.2, 0.1, 0.8, 0.2))
    if bottom:
        parts.append(("rect", 0.2, 0.8, 0.8, 0.9))
    if cut:
        parts = [("rect", 0.45, 0.1, 0.55, 0.55), ("rect", 0.2, 0.1, 0.8, 0.2)]
    return parts

def channel(lips=False, open_side=False):
    parts = [("rect", 0.25, 0.1, 0.35, 0.9), ("rect", 0.25, 0.1, 0.75, 0.2), ("rect", 0.25, 0.8, 0.75, 0.9)]
    if lips:
        parts += [("rect", 0.65, 0.1, 0.75, 0.35), ("rect", 0.65, 0.65, 0.75, 0.9)]
    if open_side:
        parts = [("rect", 0.2, 0.2, 0.3, 0.9), ("rect", 0.7, 0.2, 0.8, 0.9), ("rect", 0.2, 0.8, 0.8, 0.9)]
    return parts

SHAPES = {
    "ProfSectionI": i_section(),
    "ProfSectionCL": channel(lips=True),
    "ProfSectionHL": [("rect", 0.2, 0.1, 0.3, 0.9), ("rect", 0.2, 0.8, 0.8, 0.9)],
    "ProfSectionCU": channel(),
    "ProfSectionT": [("rect", 0.15, 0.1, 0.85, 0.2), ("rect", 0.45, 0.1, 0.55, 0.9)],
    "ProfSectionOI": [("rect", 0.45, 0.1, 0.55, 0.9), ("rect", 0.2, 0.1, 0.45, 0.2), ("rect", 0.55, 0.8, 0.8, 0.9)],
    "ProfSectionOU": channel(open_side=True),
    "ProfSectionRect": [("rect", 0.25, 0.15, 0.75, 0.85)],
    "ProfSectionRound": [("ring", 0.5, 0.5, 0.38, 0.0)],
    "ProfSectionRectTube": [("rect", 0.2, 0.1, 0.8, 0.2), ("rect", 0.2, 0.8, 0.8, 0.9),
                            ("rect", 0.2, 0.1, 0.3, 0.9), ("rect", 0.7, 0.1, 0.8, 0.9)],
    "ProfSectionRoundTube": [("ring", 0.5, 0.5, 0.4, 0.3)],
    "ProfSectionC": channel(),
    "ProfSectionZ": [("rect", 0.45, 0.1, 0.55, 0.9), ("rect", 0.15, 0.1, 0.55, 0.2), ("rect", 0.45, 0.8, 0.85, 0.9)],
    "ProfSectionV": [("rect", 0.2, 0.1, 0.3, 0.9), ("rect", 0.2, 0.8, 0.6, 0.9)],
    "ProfSectionO": [("rect", 0.3, 0.2, 0.4, 0.8), ("rect", 0.6, 0.2, 0.7, 0.8), ("rect", 0.3, 0.2, 0.7, 0.3),
                     ("rect", 0.1, 0.7, 0.4, 0.8), ("rect", 0.6, 0.7, 0.9, 0.8)],
    "ProfSectionQ": [("rect", 0.2, 0.2, 0.8, 0.8)],
    "ProfSectionCuttedI": i_section(cut=True),
    "ProfSectionSigma": channel(lips=True) + [("rect", 0.35, 0.45, 0.45, 0.55)],
    "ProfSectionSigma+": channel(lips=True) + [("rect", 0.35, 0.45, 0.45, 0.55), ("rect", 0.75, 0.3, 0.85, 0.35)],
    "ProfSectionSigma Sleeve": [("rect", 0.2, 0.1, 0.3, 0.9), ("rect", 0.3, 0.4, 0.4, 0.6)],
    "ProfSectionC+": channel(lips=True) + [("rect", 0.75, 0.3, 0.85, 0.35), ("rect", 0.75, 0.65, 0.85, 0.7)],
    "ProfSectionC Sleeve": [("rect", 0.2, 0.1, 0.3, 0.9), ("rect", 0.2, 0.1, 0.45, 0.2), ("rect", 0.2, 0.8, 0.45, 0.9)],
    "ProfSectionSingle Cleat": [("rect", 0.2, 0.1, 0.3, 0.9), ("rect", 0.2, 0.8, 0.7, 0.9)],
    "ProfSectionDouble Cleat": [("rect", 0.45, 0.1, 0.55, 0.9), ("rect", 0.1, 0.8, 0.45, 0.9),
                                ("rect", 0.55, 0.8, 0.9, 0.9)],
    # A question mark of blocks for pictures that have no icon.
    "Unknown": [("rect", 0.3, 0.1, 0.7, 0.2), ("rect", 0.6, 0.1, 0.7, 0.5), ("rect", 0.45, 0.4, 0.7, 0.5),
                ("rect", 0.45, 0.4, 0.55, 0.65), ("rect", 0.45, 0.75, 0.55, 0.88)],
}


def covered(parts, x, y):
    for part in parts:
        if part[0] == "rect":
            _, x0, y0, x1, y1 = part
            if x0 <= x < x1 and y0 <= y < y1:
                return True
        else:
            _, cx, cy, r_out, r_in = part
            d2 = (x - cx) ** 2 + (y - cy) ** 2
            if r_in ** 2 <= d2 <= r_out ** 2:
                return True
    return False


def bitmap(parts, size):
    """The bytes of a 24-bit bottom-up BMP file of size x size pixels."""
    row_bytes = (size * 3 + 3) & ~3
    pixels = bytearray()
    for row in range(size - 1, -1, -1):
        line = bytearray()
        for col in range(size):
            x, y = (col + 0.5) / size, (row + 0.5) / size
            r, g, b = STEEL if covered(parts, x, y) else BACKGROUND
            line += bytes((b, g, r))
        line += b"\0" * (row_bytes - len(line))
        pixels += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + bytes(pixels)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "samples/library/icons"
    os.makedirs(folder, exist_ok=True)
    for name, parts in SHAPES.items():
        for suffix, size in (("-big.bmp", 48), ("-small.bmp", 16)):
            with open(os.path.join(folder, name + suffix), "wb") as out:
                out.write(bitmap(parts, size))


if __name__ == "__main__":
    main()
