#!/usr/bin/env python3
"""Draws the sample dialog templates of the library: the background picture of each
connection (a 24-bit .bmp) and its template file (a property list of controls placed over
the picture, their rectangles as fractions of the picture's size).

Run from anywhere; it writes into samples/library/Dialog Templates/Dialog Design/. White is
the transparent colour of template pictures, so the drawings leave the background white.
"""

import os
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples", "library",
                    "Dialog Templates", "Dialog Design")

WHITE = (255, 255, 255)
LINE = (0, 0, 0)
STEEL = (200, 200, 200)
PLATE = (120, 160, 220)
BOLT = (60, 60, 60)
DIMENSION = (0, 110, 0)


class Picture:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = [[WHITE] * width for _ in range(height)]

    def dot(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill(self, left, top, right, bottom, colour):
        for y in range(top, bottom):
            for x in range(left, right):
                self.dot(x, y, colour)

    def frame(self, left, top, right, bottom, colour=LINE):
        for x in range(left, right):
            self.dot(x, top, colour)
            self.dot(x, bottom - 1, colour)
        for y in range(top, bottom):
            self.dot(left, y, colour)
            self.dot(right - 1, y, colour)

    def box(self, left, top, right, bottom, colour):
        self.fill(left, top, right, bottom, colour)
        self.frame(left, top, right, bottom)

    def hline(self, x1, x2, y, colour=DIMENSION):
        for x in range(min(x1, x2), max(x1, x2) + 1):
            self.dot(x, y, colour)

    def vline(self, x, y1, y2, colour=DIMENSION):
        for y in range(min(y1, y2), max(y1, y2) + 1):
            self.dot(x, y, colour)

    def bolt(self, cx, cy):
        for y in range(cy - 3, cy + 4):
            for x in range(cx - 3, cx + 4):
                if (x - cx) ** 2 + (y - cy) ** 2 <= 9:
                    self.dot(x, y, BOLT)

    def horizontal_dimension(self, x1, x2, y):
        self.hline(x1, x2, y)
        self.vline(x1, y - 3, y + 3)
        self.vline(x2, y - 3, y + 3)

    def vertical_dimension(self, x, y1, y2):
        self.vline(x, y1, y2)
        self.hline(x - 3, x + 3, y1)
        self.hline(x - 3, x + 3, y2)

    def save(self, path):
        row_size = (self.width * 3 + 3) // 4 * 4
        data = bytearray()
        for y in range(self.height - 1, -1, -1):
            row = bytearray()
            for (r, g, b) in self.pixels[y]:
                row += bytes((b, g, r))
            row += bytes(row_size - len(row))
            data += row
        header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        with open(path, "wb") as out:
            out.write(header + info + data)


def escape(text):
    return text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n").replace("\r", "\\r")


def write_template(path, picture, controls):
    """controls: (type, (left, top, right, bottom) in pixels, contents, extra list)."""
    lines = ["nrOfControls\ti\t%d" % len(controls)]
    for i, (kind, (left, top, right, bottom), contents, extra) in enumerate(controls):
        lines.append("type%d\ti\t%d" % (i, kind))
        lines.append("topLeftX%d\td\t%r" % (i, left / picture.width))
        lines.append("topLeftY%d\td\t%r" % (i, top / picture.height))
        lines.append("bottomRightX%d\td\t%r" % (i, right / picture.width))
        lines.append("bottomRightY%d\td\t%r" % (i, bottom / picture.height))
        lines.append("contents%d\ts\t%s" % (i, escape(contents)))
        lines.append("comboList%d\ts\t%s" % (i, escape(extra)))
    with open(path, "w", newline="\n") as out:
        out.write("\n".join(lines) + "\n")


TEXT, EDIT, COMBO, COUNT1, SECTION = 0, 2, 3, 4, 13


def end_plate():
    """A beam end plate bolted to a column flange, seen from the side."""
    p = Picture(300, 220)
    p.box(20, 10, 44, 210, STEEL)          # column flange
    p.box(44, 30, 58, 190, PLATE)          # end plate
    p.box(58, 60, 260, 72, STEEL)          # beam top flange
    p.box(58, 148, 260, 160, STEEL)        # beam bottom flange
    p.box(58, 72, 260, 148, (225, 225, 225))  # beam web
    for y in (50, 90, 130, 170):
        p.bolt(51, y)
    p.vertical_dimension(80, 30, 60)       # top extension
    p.vertical_dimension(80, 160, 190)     # bottom extension
    p.vertical_dimension(8, 30, 190)       # plate height
    p.horizontal_dimension(44, 58, 200)    # plate thickness
    p.vertical_dimension(110, 90, 130)     # pitch
    controls = [
        (TEXT, (60, 2, 150, 16), "End plate", ""),
        (EDIT, (84, 36, 120, 52), "TopExtension", ""),
        (EDIT, (84, 166, 120, 182), "BottomExtension", ""),
        (EDIT, (2, 100, 40, 116), "Height", ""),
        (EDIT, (62, 196, 98, 212), "Thickness", ""),
        (EDIT, (114, 102, 150, 118), "Pitch", ""),
        (TEXT, (160, 80, 210, 94), "Width", ""),
        (EDIT, (212, 78, 250, 94), "Width", ""),
        (TEXT, (160, 100, 210, 114), "Edge", ""),
        (EDIT, (212, 98, 250, 114), "EdgeDistance", ""),
        (TEXT, (160, 120, 210, 134), "Gauge", ""),
        (EDIT, (212, 118, 250, 134), "Gauge", ""),
        (TEXT, (160, 154, 210, 168), "Bolts", ""),
        (COUNT1, (212, 152, 250, 168), "Main", ""),
        (TEXT, (160, 174, 210, 188), "Bolt rows", ""),
        (EDIT, (212, 172, 250, 188), "BoltRows", ""),
        (TEXT, (160, 194, 210, 208), "Weight", ""),
        (EDIT, (212, 192, 250, 208), "Weight", ""),
        (SECTION, (180, 20, 280, 36), "Beam", ""),
        (SECTION, (180, 40, 280, 56), "Column", ""),
    ]
    return p, controls


def fin_plate():
    """A fin plate welded to a supporting member, with a beam web bolted to it."""
    p = Picture(260, 180)
    p.box(10, 10, 30, 170, STEEL)          # support
    p.box(30, 40, 110, 140, PLATE)         # fin plate
    p.box(70, 50, 250, 130, (225, 225, 225))  # beam web (behind the bolts)
    p.frame(30, 40, 110, 140)
    for y in (60, 90, 120):
        p.bolt(90, y)
    p.vertical_dimension(120, 40, 140)     # plate height
    p.horizontal_dimension(30, 110, 152)   # plate width
    controls = [
        (TEXT, (40, 2, 140, 16), "Fin plate", ""),
        (EDIT, (124, 82, 160, 98), "Height", ""),
        (EDIT, (52, 156, 88, 172), "Width", ""),
        (TEXT, (170, 150, 210, 164), "Thickness", ""),
        (COMBO, (212, 148, 256, 164), "Thickness", ""),
    ]
    return p, controls


def main():
    os.makedirs(os.path.join(ROOT, "Plates"), exist_ok=True)
    for name, draw in (("End plate", end_plate), (os.path.join("Plates", "Fin plate"), fin_plate)):
        picture, controls = draw()
        picture.save(os.path.join(ROOT, name + ".bmp"))
        write_template(os.path.join(ROOT, name + ".txt"), picture, controls)
        print("wrote", name)


if __name__ == "__main__":
    main()
