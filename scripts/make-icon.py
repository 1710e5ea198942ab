#!/usr/bin/env python3
"""Writes res/clock.ico, the tray icon: a small clock face at about ten past ten.

The icon holds a single 16 x 16 image with 256 colours (8 bits per pixel) and
its 1-bit AND mask.  At this size a clock only reads well when every pixel is
placed by hand, so the picture is drawn below as a grid of letters: a cream
face with a dark rim, marks at 12, 3, 6 and 9, a short hour hand towards ten,
a long minute hand towards two and a centre pin.  The corners outside the rim
are transparent.  The output is the same on every run.

Usage: python3 scripts/make-icon.py [output.ico]
"""

import os
import struct
import sys

PICTURE = """
.....RRRRRR.....
...RRFFFFFFRR...
..RFFFFMMFFFFR..
.RFFFFFMMFFFHFR.
.RFFFFFFFFFHFFR.
RFFFFHFFFFHFFFFR
RFFFFFHFFHFFFFFR
RFMMFFFPPFFFMMFR
RFMMFFFPPFFFMMFR
RFFFFFFFFFFFFFFR
RFFFFFFFFFFFFFFR
.RFFFFFFFFFFFFR.
.RFFFFFMMFFFFFR.
..RFFFFMMFFFFR..
...RRFFFFFFRR...
.....RRRRRR.....
"""

# letter -> colour (red, green, blue); "." is transparent
COLOURS = {
    "R": (34, 44, 72),       # rim, dark slate blue
    "F": (255, 248, 225),    # face, cream
    "M": (34, 44, 72),       # hour marks
    "H": (16, 16, 20),       # hands
    "P": (16, 16, 20),       # centre pin
}

SIZE = 16


def parse(picture):
    rows = [line for line in picture.strip().splitlines()]
    assert len(rows) == SIZE and all(len(r) == SIZE for r in rows), "picture must be 16 x 16"
    return rows


def build_ico(rows):
    # Palette: index 0 is black, used by the transparent pixels so that the
    # XOR image leaves the background untouched; then the colours in use.
    palette = [(0, 0, 0)]
    for letter in sorted(COLOURS):
        if COLOURS[letter] not in palette:
            palette.append(COLOURS[letter])
    index = {c: i for i, c in enumerate(palette)}

    header = struct.pack("<IiiHHIIiiII",
                         40,             # biSize
                         SIZE,           # biWidth
                         SIZE * 2,       # biHeight: XOR image and AND mask
                         1,              # biPlanes
                         8,              # biBitCount
                         0,              # biCompression = BI_RGB
                         0, 0, 0,        # biSizeImage, resolution
                         0, 0)           # biClrUsed (0 = 256), biClrImportant
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    pal += b"\0" * (4 * (256 - len(palette)))

    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):                   # bottom-up
        bits = 0
        for letter in row:
            if letter == ".":
                xor.append(0)
                bits = (bits << 1) | 1
            else:
                xor.append(index[COLOURS[letter]])
                bits <<= 1
        mask += struct.pack(">H", bits) + b"\0\0"  # 16 bits, row padded to 4 bytes
    image = header + pal + bytes(xor) + bytes(mask)

    icondir = struct.pack("<HHH", 0, 1, 1)       # reserved, type icon, one image
    entry = struct.pack("<BBBBHHII",
                        SIZE, SIZE,              # width, height
                        0,                       # colour count: 0 means 256
                        0,                       # reserved
                        1,                       # planes
                        8,                       # bits per pixel
                        len(image),
                        6 + 16)                  # image offset
    return icondir + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res", "clock.ico")
    data = build_ico(parse(PICTURE))
    with open(path, "wb") as f:
        f.write(data)
    print("%s: %d bytes" % (os.path.normpath(path), len(data)))


if __name__ == "__main__":
    main()
