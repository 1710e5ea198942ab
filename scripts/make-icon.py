#!/usr/bin/env python3
"""Writes res/clock.ico, the tray icon: a small clock face at about ten past ten.

The icon holds one image for each small-icon size Windows asks for at the
usual display scales: 16 x 16 (100 %) with 256 colours, drawn by hand, and
20, 24, 28, 32, 36, 40 and 48 pixels (125 % to 300 %) with 32 bits (an alpha channel),
drawn here, each at its own size so that none is a stretched copy.

At 16 pixels a clock only reads well when every pixel is placed by hand, so
that picture is a grid of letters: a cream face with a dark rim, marks at 12,
3, 6 and 9, a short hour hand towards ten, a long minute hand towards two and
a centre pin.  The larger ones draw the same face from its measures, rounded
to whole pixels (marks and hands an even number wide, so that the straight
ones fill whole pixels on either side of the centre), with edges smoothed by
8 x 8 samples per pixel.  The corners outside the rim are transparent.  The
output is the same on every run.

Usage: python3 scripts/make-icon.py [output.ico]
"""

import math
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
LARGER = (20, 24, 28, 32, 36, 40, 48)
SAMPLES = 8


def parse(picture):
    rows = [line for line in picture.strip().splitlines()]
    assert len(rows) == SIZE and all(len(r) == SIZE for r in rows), "picture must be 16 x 16"
    return rows


def bitmap_header(size, bits):
    return struct.pack("<IiiHHIIiiII",
                       40,             # biSize
                       size,           # biWidth
                       size * 2,       # biHeight: XOR image and AND mask
                       1,              # biPlanes
                       bits,           # biBitCount
                       0,              # biCompression = BI_RGB
                       0, 0, 0,        # biSizeImage, resolution
                       0, 0)           # biClrUsed (0 = all), biClrImportant


def and_mask(transparent_rows, size):
    """The 1-bit AND mask, bottom-up, each row padded to 4 bytes."""
    stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(transparent_rows):
        bits = 0
        for transparent in row:
            bits = (bits << 1) | transparent
        bits <<= stride * 8 - size
        mask += bits.to_bytes(stride, "big")
    return bytes(mask)


def small_image(rows):
    # Palette: index 0 is black, used by the transparent pixels so that the
    # XOR image leaves the background untouched; then the colours in use.
    palette = [(0, 0, 0)]
    for letter in sorted(COLOURS):
        if COLOURS[letter] not in palette:
            palette.append(COLOURS[letter])
    index = {c: i for i, c in enumerate(palette)}
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    pal += b"\0" * (4 * (256 - len(palette)))
    xor = bytes(0 if letter == "." else index[COLOURS[letter]] for row in reversed(rows) for letter in row)
    mask = and_mask([[letter == "." for letter in row] for row in rows], SIZE)
    return bitmap_header(SIZE, 8) + pal + xor + mask


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


def clock_shapes(size):
    """The face at a size: (test, colour) from the top layer down."""
    c = size / 2
    rim = round(size / 12)                    # 2, 2, 2, 3, 3, 3, 4
    face = c - rim
    gap = max(1, round(size / 16))            # face between rim and marks
    width = 2 * max(1, round(size / 24))      # marks and hands: 2, 2, 2, 2, 4, 4, 4
    mark = round(size / 8)                    # length of a mark
    half = width / 2
    def hand(hours, length):                  # the tip of a hand pointing at an hour
        angle = math.radians(hours * 30)
        return (c + length * face * math.sin(angle), c - length * face * math.cos(angle))
    hour, minute = hand(10, 0.5), hand(2, 0.75)

    def in_mark(x, y):
        near, far = face - gap - mark, face - gap
        for ux, uy in ((0, -1), (1, 0), (0, 1), (-1, 0)):
            along = (x - c) * ux + (y - c) * uy
            across = (x - c) * uy - (y - c) * ux
            if near <= along <= far and abs(across) <= half:
                return True
        return False

    return [
        (lambda x, y: math.hypot(x - c, y - c) <= half * 1.5, COLOURS["P"]),
        (lambda x, y: segment_distance(x, y, c, c, *hour) <= half, COLOURS["H"]),
        (lambda x, y: segment_distance(x, y, c, c, *minute) <= half, COLOURS["H"]),
        (in_mark, COLOURS["M"]),
        (lambda x, y: math.hypot(x - c, y - c) <= face, COLOURS["F"]),
        (lambda x, y: math.hypot(x - c, y - c) <= c, COLOURS["R"]),
    ]


def large_image(size):
    shapes = clock_shapes(size)
    pixels = []
    transparent = []
    for py in range(size):
        row = []
        for px in range(size):
            total = [0, 0, 0]
            covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = px + (sx + 0.5) / SAMPLES
                    y = py + (sy + 0.5) / SAMPLES
                    for inside, colour in shapes:
                        if inside(x, y):
                            covered += 1
                            total = [t + v for t, v in zip(total, colour)]
                            break
            alpha = round(255 * covered / SAMPLES ** 2)
            r, g, b = (round(t / covered) if covered else 0 for t in total)
            row.append((b, g, r, alpha))
        transparent.append([p[3] == 0 for p in row])
        pixels.append(row)
    xor = b"".join(bytes(p) for row in reversed(pixels) for p in row)
    return bitmap_header(size, 32) + xor + and_mask(transparent, size)


def build_ico(rows):
    images = [(SIZE, 8, small_image(rows))] + [(size, 32, large_image(size)) for size in LARGER]
    icondir = struct.pack("<HHH", 0, 1, len(images))   # reserved, type icon, count
    offset = 6 + 16 * len(images)
    entries = b""
    for size, bits, image in images:
        entries += struct.pack("<BBBBHHII",
                               size, size,         # width, height
                               0,                  # colour count: 0 for 256 and more
                               0,                  # reserved
                               1,                  # planes
                               bits,               # bits per pixel
                               len(image),
                               offset)
        offset += len(image)
    return icondir + entries + b"".join(image for _, _, image in images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res", "clock.ico")
    data = build_ico(parse(PICTURE))
    with open(path, "wb") as f:
        f.write(data)
    print("%s: %d bytes" % (os.path.normpath(path), len(data)))


if __name__ == "__main__":
    main()
