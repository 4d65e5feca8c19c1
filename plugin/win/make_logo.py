#!/usr/bin/env python3
"""Draws the chooser's logo and writes it as a .bmp file for the resource
compiler, which keeps everything after the 14-byte file header: a 40-byte
BITMAPINFOHEADER and 128 bottom-up rows of 24-bit blue-green-red pixels, no
colour table.

The picture: a globe drawn in white lines on a blue rounded square, with an
orange orbit, on the grey (240, 240, 240) of a default dialog background.
Everything is computed from this file alone, with 4 x 4 samples a pixel for
smooth edges, so every build writes the same bytes.

    make_logo.py OUTPUT.bmp
"""

import math
import struct
import sys

SIZE = 128
SURROUND = (240, 240, 240)
SAMPLES = 4

BADGE_TOP = (34, 102, 186)
BADGE_BOTTOM = (18, 62, 132)
LINE = (255, 255, 255)
ORBIT = (245, 140, 30)


def rounded_square(x, y, left, top, right, bottom, radius):
    """True inside a square with rounded corners."""
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius**2


def on_ellipse(x, y, cx, cy, rx, ry, width):
    """True within width/2 of the ellipse's outline (a near distance)."""
    dx, dy = (x - cx) / rx, (y - cy) / ry
    r = math.hypot(dx, dy)
    if r == 0.0:
        return False
    # Distance along the ray, scaled back by the local radius.
    local = math.hypot(dx / r * rx, dy / r * ry)
    return abs(r - 1.0) * local <= width / 2


def colour_at(x, y):
    """The colour of the picture at a point; y grows downwards."""
    cx, cy, globe = 64.0, 64.0, 36.0

    # The orbit passes in front of the badge's lower right and behind it at
    # the upper left: drawn over the badge only where y is below the centre.
    orbit_front = on_ellipse(x, y, cx, cy + 2, 58, 20, 5.0) and y > cy + 2
    if orbit_front:
        return ORBIT
    if not rounded_square(x, y, 14, 14, 114, 114, 24):
        if on_ellipse(x, y, cx, cy + 2, 58, 20, 5.0):
            return ORBIT
        return SURROUND

    t = (y - 14) / 100.0
    badge = tuple(round(a + (b - a) * t) for a, b in zip(BADGE_TOP, BADGE_BOTTOM))
    inside = math.hypot(x - cx, y - cy) <= globe
    lines = (
        on_ellipse(x, y, cx, cy, globe, globe, 4.5)  # the rim
        or (inside and on_ellipse(x, y, cx, cy, 15, globe, 3.5))  # a meridian
        or (inside and abs(x - cx) <= 1.75)  # the central meridian
        or (inside and abs(y - cy) <= 1.75)  # the equator
        or (inside and abs(abs(y - cy) - 19) <= 1.6)  # two parallels
    )
    return LINE if lines else badge


def pixel(column, row):
    """Averages SAMPLES x SAMPLES points inside the pixel (row 0 on top)."""
    total = [0, 0, 0]
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = column + (sx + 0.5) / SAMPLES
            y = row + (sy + 0.5) / SAMPLES
            for k, value in enumerate(colour_at(x, y)):
                total[k] += value
    count = SAMPLES * SAMPLES
    return tuple((value + count // 2) // count for value in total)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    rows = []
    for row in reversed(range(SIZE)):  # bottom-up
        line = bytearray()
        for column in range(SIZE):
            red, green, blue = pixel(column, row)
            line += bytes((blue, green, red))
        rows.append(bytes(line))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(sys.argv[1], "wb") as out:
        out.write(header + info + pixels)


if __name__ == "__main__":
    main()
